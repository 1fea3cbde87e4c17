// W2KSetup.exe as built: it must load on Windows 95 and NT 4.0, where its job
// is the hand-over to the media's Setup.exe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "test_support.h"

namespace {

using pe_test::ProductAllowlist;
using pe_test::ProductBytes;

pe::PeImage ReadProduct()
{
    std::vector<std::uint8_t> bytes = ProductBytes();
    std::string error;
    auto image = pe::ReadPeImage(bytes, error);
    EXPECT_TRUE(image) << W2KSETUP_EXE << ": " << error;
    return image ? *image : pe::PeImage();
}

bool Imports(const pe::PeImage& image, const std::string& dll, const std::string& function)
{
    for (const pe::ImportedDll& imported : image.imports) {
        if (pe::ToLower(imported.name) != dll)
            continue;
        for (const pe::ImportedFunction& f : imported.functions) {
            if (f.name == function)
                return true;
        }
    }
    return false;
}

// The time the build gives the PE header: SOURCE_DATE_EPOCH, else the tree's
// last commit, else 0 (cmake/source_date_epoch.sh).
std::uint32_t TreeTime()
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch && *epoch)
        return static_cast<std::uint32_t>(std::stoul(epoch));
    if (!std::filesystem::exists(std::string(SOURCE_TREE) + "/.git"))
        return 0;
    std::string command = "git -C '" + std::string(SOURCE_TREE) + "' log -1 --format=%ct";
    FILE* git = popen(command.c_str(), "r");
    unsigned long seconds = 0;
    bool read = git && std::fscanf(git, "%lu", &seconds) == 1;
    if (git)
        pclose(git);
    EXPECT_TRUE(read) << command;
    return static_cast<std::uint32_t>(seconds);
}

// `text` in the bytes, as 8-bit or as UTF-16LE text.
bool Holds(const std::vector<std::uint8_t>& bytes, const std::string& text)
{
    std::vector<std::uint8_t> wide;
    for (char c : text) {
        wide.push_back(static_cast<std::uint8_t>(c));
        wide.push_back(0);
    }
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end() ||
           std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end()) != bytes.end();
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

TEST(W2KSetupBinary, IsA32BitGuiProgramForSubsystem40)
{
    pe::PeImage image = ReadProduct();
    EXPECT_EQ(image.machine, pe::kMachineI386);
    EXPECT_EQ(image.subsystem, pe::kSubsystemWindowsGui);
    EXPECT_EQ(image.majorSubsystemVersion, 4);
    EXPECT_EQ(image.minorSubsystemVersion, 0);
}

// The whole program, with its dialogs in all five languages, fits in 96 KB:
// it ships on every media and is copied to every machine. Where the bytes
// go: scripts/size_breakdown.py.
TEST(W2KSetupBinary, FitsInNinetySixKilobytes)
{
    constexpr std::size_t kSizeLimit = 96 * 1024;
    std::size_t size = ProductBytes().size();
    ASSERT_GT(size, 0u) << W2KSETUP_EXE << " was not read";
    EXPECT_LE(size, kSizeLimit) << W2KSETUP_EXE << " has grown past its size limit";
}

// Whoever puts the file on a media rebuilds it from the tag and compares its
// SHA-256, so the bytes may depend on the tree only: not on the time of the
// build nor on its folder.
TEST(W2KSetupBinary, CarriesTheTreesTimeAndNoBuildFolder)
{
    std::vector<std::uint8_t> bytes = ProductBytes();
    pe::PeImage image = ReadProduct();
    EXPECT_EQ(image.timeDateStamp, TreeTime())
        << W2KSETUP_EXE << " was not linked at the tree's time: built before the last commit, "
        << "or with another SOURCE_DATE_EPOCH?";
    for (const std::string& folder : {std::string(SOURCE_TREE), std::string(WIN32_BUILD_DIR)})
        EXPECT_FALSE(Holds(bytes, folder + "/")) << W2KSETUP_EXE << " names " << folder;
}

TEST(W2KSetupBinary, LoadsOnWindows95AndNt4)
{
    pe::PeImage image = ReadProduct();
    std::vector<std::string> problems = pe::FindLegacyLoadProblems(image, ProductAllowlist());
    EXPECT_TRUE(problems.empty()) << "W2KSetup.exe would not load:" << Joined(problems);
}

// The check above means something only if the import table was really read.
TEST(W2KSetupBinary, ImportTableHoldsTheCallsTheInstallerMakes)
{
    pe::PeImage image = ReadProduct();
    EXPECT_TRUE(Imports(image, "kernel32.dll", "GetVersionExA"));
    EXPECT_TRUE(Imports(image, "kernel32.dll", "WinExec"));
    EXPECT_TRUE(Imports(image, "kernel32.dll", "LoadLibraryA"));
    EXPECT_TRUE(Imports(image, "user32.dll", "DialogBoxParamA"));
    EXPECT_TRUE(Imports(image, "advapi32.dll", "RegOpenKeyExA"));
    EXPECT_TRUE(Imports(image, "winmm.dll", "mixerGetNumDevs"));
}

TEST(W2KSetupBinary, DeviceInstallationLibrariesAreNotImported)
{
    pe::PeImage image = ReadProduct();
    ASSERT_FALSE(image.imports.empty());
    for (const pe::ImportedDll& dll : image.imports) {
        std::string name = pe::ToLower(dll.name);
        EXPECT_NE(name, "setupapi.dll");
        EXPECT_NE(name, "newdev.dll");
        EXPECT_NE(name, "cfgmgr32.dll");
    }
}

// Functions that Windows 95 does not export, which the MinGW runtime and
// libstdc++ would otherwise bring in: they must never creep into the list.
TEST(ImportAllowlist, LeavesOutFunctionsWindows95OrNt4Lacks)
{
    pe::ImportAllowlist allowlist = ProductAllowlist();
    const std::set<std::string>& kernel32 = allowlist.functionsByDll["kernel32.dll"];
    ASSERT_FALSE(kernel32.empty()) << "kernel32.txt not found in " << ALLOWLIST_DIR;
    for (const char* missing : {"IsDebuggerPresent", "InitializeCriticalSectionAndSpinCount",
                                "TryEnterCriticalSection", "GetModuleHandleExA",
                                "InterlockedCompareExchange"})
        EXPECT_EQ(kernel32.count(missing), 0u) << missing;
    for (const auto& dll : allowlist.functionsByDll) {
        EXPECT_NE(dll.first, "setupapi.dll");
        EXPECT_NE(dll.first, "newdev.dll");
        EXPECT_NE(dll.first, "cfgmgr32.dll");
    }
}

}  // namespace
