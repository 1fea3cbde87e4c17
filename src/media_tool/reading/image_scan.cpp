#include "media_tool/reading/image_scan.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>

#include "common/ascii.h"
#include "media_tool/reading/iso_reader.h"
#include "media_tool/reading/windows_names.h"
#include "sim/sim_context.h"

ImageBytes::ImageBytes(std::string held) : m_held(std::move(held)), m_size(m_held.size()) {}

ImageBytes::ImageBytes(const void* mapped, std::size_t size) : m_mapped(mapped), m_size(size) {}

ImageBytes::~ImageBytes()
{
    if (m_mapped)
        ::munmap(const_cast<void*>(m_mapped), m_size);
}

const char* ImageBytes::Data() const
{
    return m_mapped ? static_cast<const char*>(m_mapped) : m_held.data();
}

namespace {

// The image's folders as libarchive lists them, each name once, so that the
// names of a folder can be checked together as on a folder of this machine.
struct ImageFolder {
    std::map<std::string, ImageFolder> folders;
    std::map<std::string, const iso::ImageEntry*> files;
};

std::string Joined(const std::vector<std::string>& names, std::size_t count)
{
    std::string path;
    for (std::size_t i = 0; i < count; ++i)
        path += (i ? "\\" : "") + names[i];
    return path;
}

class TreeBuilder {
public:
    TreeBuilder(MediaTree& media, std::shared_ptr<const ImageBytes> image)
        : m_media(media), m_image(std::move(image))
    {
    }

    void Add(const iso::ImageEntry& entry)
    {
        const std::vector<std::string> names = NamesOf(entry.path, '/');
        ImageFolder* folder = &m_root;
        for (std::size_t i = 0; i + 1 < names.size(); ++i) {
            if (folder->files.count(names[i])) {
                Problem(ScanProblemKind::BrokenEntry, Joined(names, names.size()),
                        "is listed inside the file " + Joined(names, i + 1));
                return;
            }
            folder = &folder->folders[names[i]];
        }
        const std::string& name = names.back();
        const bool taken = folder->files.count(name) || (!entry.folder && folder->folders.count(name));
        if (taken) {
            Problem(ScanProblemKind::BrokenEntry, Joined(names, names.size()),
                    "is listed twice");
            return;
        }
        if (entry.folder)
            folder->folders[name];
        else
            folder->files[name] = &entry;
    }

    void Build() { Walk(m_root, ""); }

private:
    void Problem(ScanProblemKind kind, const std::string& path, const std::string& detail)
    {
        m_media.problems.push_back({kind, path, detail});
    }

    void Walk(const ImageFolder& folder, const std::string& prefix)
    {
        std::vector<std::string> names;
        for (const auto& each : folder.folders)
            names.push_back(each.first);
        for (const auto& each : folder.files)
            names.push_back(each.first);
        std::sort(names.begin(), names.end());
        FolderNames kept(prefix, m_media.problems);
        for (const std::string& name : names) {
            if (!kept.Keep(name))
                continue;
            const std::string path = prefix + name;
            auto subfolder = folder.folders.find(name);
            if (subfolder != folder.folders.end()) {
                m_media.entries.push_back({path, "", true, false, 0, nullptr});
                Walk(subfolder->second, path + "\\");
            } else {
                AddFile(path, *folder.files.at(name));
            }
        }
    }

    void AddFile(const std::string& path, const iso::ImageEntry& file)
    {
        MediaEntry entry;
        entry.path = path;
        entry.readOnly = true;  // as every file on a disc
        for (const iso::BytePiece& piece : file.pieces)
            entry.size += piece.size;
        entry.imageBytes = [image = m_image, pieces = file.pieces] {
            iso::ImageEntry bytes;
            bytes.pieces = pieces;
            return iso::BytesOf(bytes, image->Data(), image->Size());
        };
        m_media.entries.push_back(std::move(entry));
    }

    MediaTree& m_media;
    std::shared_ptr<const ImageBytes> m_image;
    ImageFolder m_root;
};

std::vector<std::string> PathsOf(const iso::ImageListing& listing, char separator)
{
    std::vector<std::string> paths;
    for (const iso::ImageEntry& entry : listing.entries) {
        std::string path = entry.path;
        for (char& c : path) {
            if (c == '/')
                c = separator;
        }
        paths.push_back(path);
    }
    return paths;
}

// The listing of a name set Windows does not read; nothing when it does not
// read, since Windows never looks at it.
std::optional<iso::ImageListing> OtherNames(const ImageBytes& image, iso::NameSet names)
{
    try {
        return iso::ListImage(image.Data(), image.Size(), names, false);
    } catch (const iso::ImageError&) {
        return std::nullopt;
    }
}

}  // namespace

bool IsImagePath(const std::string& path)
{
    struct stat info {};
    const bool folder = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return !folder && path.size() >= 4 && AsciiUpper(path.substr(path.size() - 4)) == ".ISO";
}

std::shared_ptr<const ImageBytes> MapImage(const std::string& path)
{
    const int file = ::open(path.c_str(), O_RDONLY);
    if (file < 0)
        throw MediaFolderError("cannot read the image " + path + ": " + std::strerror(errno));
    struct stat info {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        throw MediaFolderError("cannot read the image " + path + ": it is not a file");
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size == 0) {
        ::close(file);
        throw MediaFolderError("cannot read the image " + path + ": it is empty");
    }
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
    const int error = errno;
    ::close(file);
    if (mapped == MAP_FAILED)
        throw MediaFolderError("cannot read the image " + path + ": " + std::strerror(error));
    return std::make_shared<const ImageBytes>(mapped, size);
}

MediaTree ReadImageTree(const std::string& root, std::shared_ptr<const ImageBytes> image)
{
    MediaTree media;
    media.root = root;
    iso::ImageListing windows;
    try {
        windows = iso::ListImage(image->Data(), image->Size(), iso::NameSet::Windows, true);
    } catch (const iso::ImageError& error) {
        throw MediaFolderError("cannot read the image " + root + ": " + error.what());
    }
    TreeBuilder builder(media, image);
    for (const iso::ImageEntry& entry : windows.entries)
        builder.Add(entry);
    builder.Build();
    IndexMedia(media);

    ImageNames names;
    names.unreadableNames = windows.unreadableNames;
    const auto plain = OtherNames(*image, iso::NameSet::Iso9660);
    names.joliet = !plain || PathsOf(*plain, '/') != PathsOf(windows, '/');
    const auto rockRidge = OtherNames(*image, iso::NameSet::RockRidge);
    if (rockRidge && rockRidge->rockRidge)
        names.rockRidgePaths = PathsOf(*rockRidge, '\\');
    media.image = names;
    return media;
}

MediaTree ScanImage(const std::string& path)
{
    return ReadImageTree(path, MapImage(path));
}
