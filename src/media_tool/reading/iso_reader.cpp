#include "media_tool/reading/iso_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <cstring>
#include <map>

namespace iso {

namespace {

// Joliet names are UTF-16; libarchive turns them into the text of the
// current locale, which this thread sets to UTF-8 while it reads.
class Utf8Locale {
public:
    Utf8Locale() : m_locale(::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0)))
    {
        if (m_locale)
            m_previous = ::uselocale(m_locale);
    }
    ~Utf8Locale()
    {
        if (m_locale) {
            ::uselocale(m_previous);
            ::freelocale(m_locale);
        }
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

private:
    locale_t m_locale;
    locale_t m_previous = static_cast<locale_t>(0);
};

class Reader {
public:
    Reader() : m_archive(archive_read_new()) {}
    ~Reader() { archive_read_free(m_archive); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    void Open(const char* image, std::size_t size, NameSet names)
    {
        if (!m_archive)
            throw ImageError("no memory to read it");
        archive_read_support_format_iso9660(m_archive);
        const char* options = names == NameSet::Windows   ? "iso9660:!rockridge"
                              : names == NameSet::Iso9660 ? "iso9660:!rockridge,iso9660:!joliet"
                                                          : "iso9660:!joliet";
        if (archive_read_set_options(m_archive, options) != ARCHIVE_OK)
            Fail();
        if (archive_read_open_memory(m_archive, image, size) != ARCHIVE_OK)
            Fail();
    }

    // The next entry; false at the end of the image.
    // A name libarchive cannot turn into text comes with a warning and no
    // name at all.
    bool Next(archive_entry*& entry)
    {
        const int result = archive_read_next_header(m_archive, &entry);
        if (result == ARCHIVE_EOF)
            return false;
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
            Fail();
        return true;
    }

    void ReadPieces(ImageEntry& entry, const char* image, std::size_t size)
    {
        for (;;) {
            const void* block = nullptr;
            std::size_t length = 0;
            la_int64_t offset = 0;
            const int result = archive_read_data_block(m_archive, &block, &length, &offset);
            if (result == ARCHIVE_EOF)
                return;
            if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
                Fail();
            if (length == 0)
                continue;
            BytePiece piece;
            piece.size = length;
            const char* bytes = static_cast<const char*>(block);
            if (bytes >= image && bytes + length <= image + size)
                piece.offset = static_cast<std::uint64_t>(bytes - image);
            else
                piece.copied.assign(bytes, length);
            entry.pieces.push_back(std::move(piece));
        }
    }

    bool RockRidgeSeen() const
    {
        const char* format = archive_format_name(m_archive);
        return format && std::strstr(format, "Rockridge");
    }

    [[noreturn]] void Fail()
    {
        const char* why = archive_error_string(m_archive);
        const std::string text = why ? why : "libarchive gives no reason";
        if (text == "Unrecognized archive format")
            throw ImageError("it is no ISO 9660 image");
        throw ImageError(text);
    }

private:
    archive* m_archive;
};

// Each entry of a folder is a record of at least 33 bytes on the image, so
// an image that lists more than its size allows lists some folder more than
// once: folders that hold one another over and over, which libarchive would
// list without end.
constexpr std::size_t kSmallestRecord = 33;

// libarchive's path without "./" in front and '/' behind.
std::string CleanPath(std::string path)
{
    while (path.rfind("./", 0) == 0)
        path.erase(0, 2);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path == "." ? std::string() : path;
}

}  // namespace

ImageListing ListImage(const char* image, std::size_t size, NameSet names, bool withBytes)
{
    const Utf8Locale utf8;
    Reader reader;
    reader.Open(image, size, names);
    ImageListing listing;
    std::map<std::string, std::size_t> files;  // path: index in the listing
    archive_entry* header = nullptr;
    std::size_t headers = 0;  // every one libarchive gives, the root and the left out too
    while (reader.Next(header)) {
        if (++headers > size / kSmallestRecord)
            throw ImageError("it lists more folders and files than it can hold, so its folders "
                             "hold one another over and over");
        // Joliet's names go through the locale; the others are the bytes
        // the image holds.
        const char* name = names == NameSet::Windows ? archive_entry_pathname_utf8(header)
                                                     : archive_entry_pathname(header);
        const auto type = archive_entry_filetype(header);
        if (!name) {
            ++listing.unreadableNames;
            continue;
        }
        ImageEntry entry;
        entry.path = CleanPath(name);
        entry.folder = type == AE_IFDIR;
        if (entry.path.empty() || (!entry.folder && type != AE_IFREG))
            continue;
        if (!entry.folder) {
            const la_int64_t claimed = archive_entry_size(header);
            entry.size = claimed > 0 ? static_cast<std::uint64_t>(claimed) : 0;
            // A second name for the same bytes comes as a hard link to the
            // first; it has its bytes.
            const char* link = archive_entry_hardlink(header);
            auto target = link ? files.find(CleanPath(link)) : files.end();
            if (target != files.end()) {
                entry.size = listing.entries[target->second].size;
                entry.pieces = listing.entries[target->second].pieces;
            } else if (withBytes) {
                reader.ReadPieces(entry, image, size);
            }
            files.emplace(entry.path, listing.entries.size());
        }
        listing.entries.push_back(std::move(entry));
    }
    listing.rockRidge = reader.RockRidgeSeen();
    return listing;
}

std::string BytesOf(const ImageEntry& entry, const char* image, std::size_t size)
{
    std::string bytes;
    for (const BytePiece& piece : entry.pieces) {
        if (!piece.copied.empty())
            bytes += piece.copied;
        else if (piece.offset <= size && piece.size <= size - piece.offset)
            bytes.append(image + piece.offset, piece.size);
    }
    return bytes;
}

}  // namespace iso
