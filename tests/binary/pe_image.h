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

struct PeImage {
    std::uint16_t machine = 0;
    std::uint16_t optionalHeaderMagic = 0;
    std::uint16_t subsystem = 0;
    std::uint16_t majorSubsystemVersion = 0;
    std::uint16_t minorSubsystemVersion = 0;
    bool hasDelayImports = false;
    std::vector<ImportedDll> imports;
};

// Reads the image; nothing, with the reason in `error`, when the bytes are
// not a well-formed PE32 image (every offset is checked against the size).
std::optional<PeImage> ReadPeImage(const std::vector<std::uint8_t>& bytes, std::string& error);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

}  // namespace pe
