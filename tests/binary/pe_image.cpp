#include "pe_image.h"

#include "little_endian.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace pe {

namespace {

constexpr std::uint32_t kOptionalHeader32Magic = 0x10B;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kDelayImportDirectory = 13;
constexpr std::uint32_t kOrdinalFlag = 0x80000000u;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kMaxNameLength = 4096;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kNamedEntryFlag = 0x80000000u;
constexpr std::size_t kMaxResourceEntries = 4096;

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
};

// Bounds-checked little-endian reads: a read past the end marks the reader
// as failed and returns zero, so that a broken file cannot be read beyond.
class ByteReader {
public:
    explicit ByteReader(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    bool Failed() const { return m_failed; }

    std::uint32_t Read(std::size_t offset, std::size_t size)
    {
        std::uint32_t value = 0;
        if (!ReadLittleEndian(m_bytes, offset, size, value))
            m_failed = true;
        return value;
    }
    std::uint16_t Read16(std::size_t offset) { return static_cast<std::uint16_t>(Read(offset, 2)); }
    std::uint32_t Read32(std::size_t offset) { return Read(offset, 4); }

    std::string ReadString(std::size_t offset)
    {
        std::string text;
        for (std::size_t i = offset; i < m_bytes.size(); ++i) {
            if (m_bytes[i] == 0)
                return text;
            if (text.size() >= kMaxNameLength)
                break;
            text.push_back(static_cast<char>(m_bytes[i]));
        }
        m_failed = true;
        return std::string();
    }

private:
    const std::vector<std::uint8_t>& m_bytes;
    bool m_failed = false;
};

class ImageMap {
public:
    explicit ImageMap(std::vector<Section> sections) : m_sections(std::move(sections)) {}

    // The file offset of a relative virtual address, if a section holds it.
    std::optional<std::size_t> FileOffset(std::uint32_t rva) const
    {
        for (const Section& section : m_sections) {
            std::uint32_t extent = section.virtualSize ? section.virtualSize : section.rawSize;
            if (rva >= section.virtualAddress && rva - section.virtualAddress < extent &&
                rva - section.virtualAddress < section.rawSize)
                return static_cast<std::size_t>(section.rawOffset) + (rva - section.virtualAddress);
        }
        return std::nullopt;
    }

private:
    std::vector<Section> m_sections;
};

bool ReadImports(ByteReader& reader, const ImageMap& map, std::uint32_t directoryRva,
                 PeImage& image, std::string& error)
{
    auto directory = map.FileOffset(directoryRva);
    if (!directory) {
        error = "import directory outside every section";
        return false;
    }
    for (std::size_t descriptor = *directory;; descriptor += kImportDescriptorSize) {
        std::uint32_t lookupRva = reader.Read32(descriptor);
        std::uint32_t nameRva = reader.Read32(descriptor + 12);
        std::uint32_t addressRva = reader.Read32(descriptor + 16);
        if (reader.Failed()) {
            error = "import directory runs past the end of the file";
            return false;
        }
        if (lookupRva == 0 && nameRva == 0 && addressRva == 0)
            return true;

        auto nameOffset = map.FileOffset(nameRva);
        // Bound images may have overwritten FirstThunk; the lookup table
        // keeps the names.
        auto thunks = map.FileOffset(lookupRva ? lookupRva : addressRva);
        if (!nameOffset || !thunks) {
            error = "import descriptor points outside every section";
            return false;
        }
        ImportedDll dll;
        dll.name = reader.ReadString(*nameOffset);
        for (std::size_t thunk = *thunks;; thunk += 4) {
            std::uint32_t entry = reader.Read32(thunk);
            if (reader.Failed()) {
                error = "import lookup table of " + dll.name + " runs past the end";
                return false;
            }
            if (entry == 0)
                break;
            ImportedFunction function;
            if (entry & kOrdinalFlag) {
                function.byOrdinal = true;
                function.ordinal = static_cast<std::uint16_t>(entry & 0xFFFF);
            } else {
                auto hintName = map.FileOffset(entry);
                if (!hintName) {
                    error = "import name of " + dll.name + " outside every section";
                    return false;
                }
                function.name = reader.ReadString(*hintName + 2);
            }
            if (reader.Failed()) {
                error = "unterminated import name in " + dll.name;
                return false;
            }
            dll.functions.push_back(function);
        }
        image.imports.push_back(dll);
    }
}

// The resource tree: types, then names, then languages, each level an
// IMAGE_RESOURCE_DIRECTORY with its entries; offsets are from the tree's start.
class ResourceTreeReader {
public:
    ResourceTreeReader(ByteReader& reader, const ImageMap& map, std::size_t root,
                       const std::vector<std::uint8_t>& bytes)
        : m_reader(reader), m_map(map), m_root(root), m_bytes(bytes) {}

    bool Read(PeImage& image, std::string& error)
    {
        return ReadLevel(0, 0, Resource(), image, error);
    }

private:
    // A name given as text: a length and that many UTF-16 units (kept as
    // their low bytes, which is all a resource name here needs).
    std::string ReadName(std::size_t offset)
    {
        std::size_t length = m_reader.Read16(m_root + offset);
        std::string text;
        for (std::size_t i = 0; i < length && i < kMaxNameLength; ++i)
            text.push_back(static_cast<char>(m_reader.Read16(m_root + offset + 2 + 2 * i)));
        return text;
    }

    bool ReadLevel(std::size_t offset, int depth, Resource resource, PeImage& image,
                   std::string& error)
    {
        std::size_t directory = m_root + offset;
        std::size_t count = std::size_t(m_reader.Read16(directory + 12)) +
                            m_reader.Read16(directory + 14);
        if (m_reader.Failed() || count > kMaxResourceEntries) {
            error = "resource directory runs past the end of the file";
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t entry = directory + 16 + 8 * i;
            std::uint32_t name = m_reader.Read32(entry);
            std::uint32_t target = m_reader.Read32(entry + 4);
            if (m_reader.Failed()) {
                error = "resource entry runs past the end of the file";
                return false;
            }
            Resource named = resource;
            std::uint32_t number = name & kNamedEntryFlag ? 0 : name;
            std::string text = name & kNamedEntryFlag ? ReadName(name & ~kNamedEntryFlag) : "";
            if (depth == 0) {
                named.type = number;
                named.typeName = text;
            } else if (depth == 1) {
                named.id = number;
                named.name = text;
            } else {
                named.language = number;
            }
            bool subdirectory = (target & kSubdirectoryFlag) != 0;
            if (subdirectory != (depth < 2)) {
                error = "resource tree is not three levels deep";
                return false;
            }
            if (subdirectory) {
                if (!ReadLevel(target & ~kSubdirectoryFlag, depth + 1, named, image, error))
                    return false;
                continue;
            }
            std::uint32_t dataRva = m_reader.Read32(m_root + target);
            std::uint32_t size = m_reader.Read32(m_root + target + 4);
            auto data = m_map.FileOffset(dataRva);
            if (m_reader.Failed() || !data || *data > m_bytes.size() ||
                size > m_bytes.size() - *data) {
                error = "resource data outside the file";
                return false;
            }
            named.data.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(*data),
                              m_bytes.begin() + static_cast<std::ptrdiff_t>(*data + size));
            image.resources.push_back(named);
        }
        return true;
    }

    ByteReader& m_reader;
    const ImageMap& m_map;
    std::size_t m_root;
    const std::vector<std::uint8_t>& m_bytes;
};

}  // namespace

std::optional<PeImage> ReadPeImage(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    ByteReader reader(bytes);
    if (reader.Read16(0) != 0x5A4D) {
        error = "no MZ header";
        return std::nullopt;
    }
    std::size_t peHeader = reader.Read32(0x3C);
    if (reader.Failed() || reader.Read32(peHeader) != 0x00004550) {
        error = "no PE signature";
        return std::nullopt;
    }

    PeImage image;
    std::size_t fileHeader = peHeader + 4;
    image.machine = reader.Read16(fileHeader);
    image.timeDateStamp = reader.Read32(fileHeader + 4);
    std::uint16_t sectionCount = reader.Read16(fileHeader + 2);
    std::uint16_t optionalHeaderSize = reader.Read16(fileHeader + 16);
    std::size_t optional = fileHeader + 20;
    image.optionalHeaderMagic = reader.Read16(optional);
    if (reader.Failed()) {
        error = "headers run past the end of the file";
        return std::nullopt;
    }
    if (image.optionalHeaderMagic != kOptionalHeader32Magic) {
        error = "not a PE32 optional header";
        return std::nullopt;
    }
    image.majorSubsystemVersion = reader.Read16(optional + 48);
    image.minorSubsystemVersion = reader.Read16(optional + 50);
    image.subsystem = reader.Read16(optional + 68);
    std::uint32_t directoryCount = reader.Read32(optional + 92);
    auto directoryRva = [&](std::uint32_t index) -> std::uint32_t {
        return index < directoryCount ? reader.Read32(optional + 96 + 8 * index) : 0;
    };
    std::uint32_t importRva = directoryRva(kImportDirectory);
    std::uint32_t resourceRva = directoryRva(kResourceDirectory);
    image.hasDelayImports = directoryRva(kDelayImportDirectory) != 0;

    std::vector<Section> sections;
    std::size_t sectionTable = optional + optionalHeaderSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        std::size_t header = sectionTable + i * kSectionHeaderSize;
        Section section;
        section.virtualSize = reader.Read32(header + 8);
        section.virtualAddress = reader.Read32(header + 12);
        section.rawSize = reader.Read32(header + 16);
        section.rawOffset = reader.Read32(header + 20);
        sections.push_back(section);
    }
    if (reader.Failed()) {
        error = "section table runs past the end of the file";
        return std::nullopt;
    }
    ImageMap map(sections);
    if (importRva != 0 && !ReadImports(reader, map, importRva, image, error))
        return std::nullopt;
    if (resourceRva != 0) {
        auto root = map.FileOffset(resourceRva);
        if (!root) {
            error = "resource directory outside every section";
            return std::nullopt;
        }
        if (!ResourceTreeReader(reader, map, *root, bytes).Read(image, error))
            return std::nullopt;
    }
    return image;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

}  // namespace pe
