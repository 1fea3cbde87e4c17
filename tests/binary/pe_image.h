// A small reader for 32-bit PE executables: the header fields and the static
// import table that decide whether an old Windows loads a program at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pe {

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kSubsystemWindowsGui = 2;

struct ImportedFunction {
    std::string name;           // empty when imported by ordinal
    std::uint16_t ordinal = 0;  // only when imported by ordinal
    bool byOrdinal = false;
};

struct ImportedDll {
    std::string name;  // as the import table spells it
    std::vector<ImportedFunction> functions;
};

// One resource of the image: its type, name and language, and its bytes.
// Types and names given as text (rare; none in the product) keep it in
// typeName / name with the number 0.
struct Resource {
    std::uint32_t type = 0;
    std::string typeName;
    std::uint32_t id = 0;
    std::string name;
    std::uint32_t language = 0;
    std::vector<std::uint8_t> data;
};

constexpr std::uint32_t kResourceIcon = 3;        // RT_ICON
constexpr std::uint32_t kResourceDialog = 5;      // RT_DIALOG
constexpr std::uint32_t kResourceString = 6;      // RT_STRING
constexpr std::uint32_t kResourceGroupIcon = 14;  // RT_GROUP_ICON

struct PeImage {
    std::uint16_t machine = 0;
    std::uint32_t timeDateStamp = 0;  // seconds since 1970, as the linker wrote it
    std::uint16_t optionalHeaderMagic = 0;
    std::uint16_t subsystem = 0;
    std::uint16_t majorSubsystemVersion = 0;
    std::uint16_t minorSubsystemVersion = 0;
    bool hasDelayImports = false;
    std::vector<ImportedDll> imports;
    std::vector<Resource> resources;
};

// Reads the image; nothing, with the reason in `error`, when the bytes are
// not a well-formed PE32 image (every offset is checked against the size).
std::optional<PeImage> ReadPeImage(const std::vector<std::uint8_t>& bytes, std::string& error);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

}  // namespace pe
