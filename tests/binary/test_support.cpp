#include "test_support.h"

#include <algorithm>

namespace pe_test {

const std::vector<std::string>& AllowlistedDlls()
{
    static const std::vector<std::string> dlls = {"kernel32", "user32", "advapi32", "winmm",
                                                  "msvcrt"};
    return dlls;
}

pe::ImportAllowlist ProductAllowlist()
{
    return pe::LoadAllowlist(ALLOWLIST_DIR, AllowlistedDlls());
}

std::vector<std::uint8_t> ProductBytes()
{
    return pe::ReadFileBytes(W2KSETUP_EXE);
}

bool ReplaceName(std::vector<std::uint8_t>& bytes, const std::string& from, const std::string& to)
{
    std::vector<std::uint8_t> pattern(from.begin(), from.end());
    pattern.push_back(0);
    if (from.size() != to.size())
        return false;
    bool replaced = false;
    for (auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
         found != bytes.end();
         found = std::search(found + 1, bytes.end(), pattern.begin(), pattern.end())) {
        std::copy(to.begin(), to.end(), found);
        replaced = true;
    }
    return replaced;
}

std::size_t OptionalHeaderOffset(const std::vector<std::uint8_t>& bytes)
{
    std::size_t peHeader = bytes[0x3C] | bytes[0x3D] << 8 | bytes[0x3E] << 16 |
                           static_cast<std::size_t>(bytes[0x3F]) << 24;
    return peHeader + 4 + 20;
}

void Write16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value)
{
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace pe_test
