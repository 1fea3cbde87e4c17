// What the binary checks share: the product, its allowlist and byte patches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "legacy_windows_check.h"

namespace pe_test {

// The DLLs W2KSetup.exe may import statically, each with a list file.
const std::vector<std::string>& AllowlistedDlls();
pe::ImportAllowlist ProductAllowlist();

// The bytes of the built W2KSetup.exe (empty when it is missing).
std::vector<std::uint8_t> ProductBytes();

// Overwrites every occurrence of `from` (with its terminating zero) by `to`
// of the same length, the import table's and any text's of the same name;
// false when `from` is not there.
bool ReplaceName(std::vector<std::uint8_t>& bytes, const std::string& from, const std::string& to);

// The file offset of the optional header of a PE file.
std::size_t OptionalHeaderOffset(const std::vector<std::uint8_t>& bytes);
void Write16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);

}  // namespace pe_test
