#include "legacy_windows_check.h"

#include <fstream>

namespace pe {

namespace {

// Found at run time only: the program must load where they are missing.
const std::set<std::string> kRuntimeOnlyDlls = {"setupapi.dll", "newdev.dll", "cfgmgr32.dll"};

std::string Trim(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string ToLower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

ImportAllowlist LoadAllowlist(const std::string& directory,
                              const std::vector<std::string>& dlls)
{
    ImportAllowlist allowlist;
    for (const std::string& dll : dlls) {
        std::ifstream file(directory + "/" + dll + ".txt");
        std::set<std::string>& functions = allowlist.functionsByDll[ToLower(dll) + ".dll"];
        std::string line;
        while (std::getline(file, line)) {
            std::string name = Trim(line.substr(0, line.find('#')));
            if (!name.empty())
                functions.insert(name);
        }
    }
    return allowlist;
}

std::vector<std::string> FindLegacyLoadProblems(const PeImage& image,
                                                const ImportAllowlist& allowlist)
{
    std::vector<std::string> problems;
    if (image.machine != kMachineI386)
        problems.push_back("machine is not i386");
    if (image.subsystem != kSubsystemWindowsGui)
        problems.push_back("subsystem is not the Windows GUI");
    if (image.majorSubsystemVersion > 4 ||
        (image.majorSubsystemVersion == 4 && image.minorSubsystemVersion > 0))
        problems.push_back("subsystem version " + std::to_string(image.majorSubsystemVersion) +
                           "." + std::to_string(image.minorSubsystemVersion) +
                           " is above 4.0");
    if (image.hasDelayImports)
        problems.push_back("has delay-load imports");

    for (const ImportedDll& dll : image.imports) {
        std::string dllName = ToLower(dll.name);
        if (kRuntimeOnlyDlls.count(dllName)) {
            problems.push_back("imports " + dllName + ", which must be loaded at run time");
            continue;
        }
        auto allowed = allowlist.functionsByDll.find(dllName);
        if (allowed == allowlist.functionsByDll.end()) {
            problems.push_back("imports from " + dllName + ", which is not on the allowlist");
            continue;
        }
        for (const ImportedFunction& function : dll.functions) {
            if (function.byOrdinal)
                problems.push_back("imports " + dllName + " ordinal " +
                                   std::to_string(function.ordinal));
            else if (!allowed->second.count(function.name))
                problems.push_back("imports " + dllName + "!" + function.name +
                                   ", which is not on the allowlist");
        }
    }
    return problems;
}

}  // namespace pe
