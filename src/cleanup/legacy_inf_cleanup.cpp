#include "cleanup/legacy_inf_cleanup.h"

#include <string>

#include "common/ascii.h"
#include "common/file_actions.h"
#include "common/windows_directory.h"

namespace {

// The names earlier drivers put at the start of their device descriptions,
// all seven characters long and compared with case.
constexpr const char* kLegacyNames[] = {"QNI5340", "QNI5740", "QNAUDIO", "Quarnel"};
constexpr std::size_t kLegacyNameLength = 7;
constexpr std::size_t kValueBufferSize = 64;

bool BeginsWithLegacyName(platform::Profiles& profiles, const std::string& infPath,
                          const char* key)
{
    std::string value = profiles.GetString("Strings", key, "", kValueBufferSize, infPath);
    value = value.substr(0, kLegacyNameLength);
    for (const char* name : kLegacyNames) {
        if (value == name)
            return true;
    }
    return false;
}

bool IsLegacyInf(platform::Profiles& profiles, const std::string& infPath)
{
    // Both entries are read, whatever the first one gave.
    const bool byDescription = BeginsWithLegacyName(profiles, infPath, "SSC-Legacy.DeviceDesc");
    const bool byWaveName = BeginsWithLegacyName(profiles, infPath, "WDM_QNPCI.Wave.szPname");
    return byDescription || byWaveName;
}

// Windows matches a search pattern against short names too: "QN5740.INFO",
// whose short name is "QN5740~1.INF", answers "QN*.INF". Only a file whose
// own name ends in ".inf", in any case, is an INF file.
bool HasInfName(const std::string& name)
{
    const std::size_t extension = 4;  // ".INF"
    return name.size() >= extension &&
           SameTextIgnoringCase(name.c_str() + name.size() - extension, ".INF");
}

// Tests every INF file the search finds, `folder` + name being its full
// path, and deletes it at once when it matches. Returns false when the
// search found nothing at all.
bool ScanInfFiles(platform::Platform& os, const std::string& pattern, const std::string& folder)
{
    auto search = os.files.Find(pattern);
    platform::FoundFile found;
    if (!search || !search->Next(found))
        return false;
    do {
        // Paths are held whole, whatever their length: a cut path could name
        // another file.
        if (!HasInfName(found.name))
            continue;
        const std::string infPath = folder + found.name;
        if (!IsLegacyInf(os.profiles, infPath))
            continue;
        DeleteEvenIfReadOnly(os.files, infPath);
        std::string precompiled = infPath;
        precompiled.replace(precompiled.size() - 3, 3, "PNF");
        DeleteEvenIfReadOnly(os.files, precompiled);
    } while (search->Next(found));
    return true;
}

}  // namespace

void RemoveLegacyInfFiles(platform::Platform& os)
{
    const std::string infFolder = InfFolderPath(os.files);
    const std::string otherFolder = infFolder + "OTHER\\";

    if (!ScanInfFiles(os, otherFolder + "*.INF", otherFolder))
        ScanInfFiles(os, infFolder + "OEM*.INF", infFolder);
    ScanInfFiles(os, infFolder + "QN*.INF", infFolder);
    // The file system ignores case: after the fallback above this meets the
    // same files again, and those left are tested again alike.
    ScanInfFiles(os, infFolder + "oem*.INF", infFolder);
}
