// Whether Windows 95 and NT 4.0 would load an executable: the machine, the
// subsystem and its version, and every static import against a list of the
// functions both systems export.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "pe_image.h"

namespace pe {

// Functions by DLL ("kernel32.dll", in lower case), each name as exported.
// Read from one "<dll>.txt" per DLL ("kernel32.txt"): a function name per
// line, anything after '#' a note.
struct ImportAllowlist {
    std::map<std::string, std::set<std::string>> functionsByDll;
};

ImportAllowlist LoadAllowlist(const std::string& directory,
                              const std::vector<std::string>& dlls);

// The reasons the image would not load on both systems; empty when it would.
std::vector<std::string> FindLegacyLoadProblems(const PeImage& image,
                                                const ImportAllowlist& allowlist);

std::string ToLower(std::string text);

}  // namespace pe
