// Staging of the driver package, the DOS files, the mixer replacement and
// the mixer's initialisation flag.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver/staging.h"
#include "support/driver_media.h"
#include "support/setup_machine.h"

namespace {

using driver_media::kStagingDir;
using platform::RootKey;

TEST(ChooseDriverFolder, TakesTheFolderForThisWindowsFromEveryMediaLayout)
{
    struct Case {
        std::vector<const char*> mediaFolders;
        bool windowsXP;
        const char* expected;
    };
    const Case cases[] = {
        {{"WinXP", "W2K-ME", "WIN_ME"}, true, "D:\\WinXP\\drv\\"},
        {{"W2K-ME", "WIN_ME"}, true, "D:\\W2K-ME\\drv\\"},
        {{"WinXP"}, true, "D:\\WinXP\\drv\\"},
        {{"WIN_ME"}, true, "D:\\WIN_ME\\drv\\"},
        {{}, true, "D:\\WIN_ME\\drv\\"},
        {{"WinXP", "W2K-ME", "WIN_ME"}, false, "D:\\W2K-ME\\drv\\"},
        {{"WinXP", "WIN_ME"}, false, "D:\\WIN_ME\\drv\\"},  // 2000 never takes the XP package
        {{"WIN_ME"}, false, "D:\\WIN_ME\\drv\\"},
        {{}, false, "D:\\WIN_ME\\drv\\"},
    };
    for (const Case& c : cases) {
        SetupMachine machine;
        for (const char* folder : c.mediaFolders)
            machine.files.AddFolder(std::string("D:\\") + folder + "\\drv");
        EXPECT_EQ(ChooseDriverFolder(machine.os(), "D:\\", c.windowsXP), c.expected)
            << c.mediaFolders.size() << " folders, XP " << c.windowsXP;
    }
}

TEST(ChooseDriverFolder, ProbesTheParentFoldersAndLeavesTheFoundOneCurrent)
{
    SetupMachine machine;
    machine.files.AddFolder("D:\\W2K-ME\\drv");
    machine.files.SetCurrent("C:\\");
    ChooseDriverFolder(machine.os(), "D:\\", true);
    EXPECT_EQ(machine.log().Details("SetCurrentDirectoryA"),
              (std::vector<std::string>{"D:\\WinXP\\ (not found)", "D:\\W2K-ME\\"}));
    EXPECT_EQ(machine.files.Current(), "D:\\W2K-ME");
}

class Staging : public ::testing::Test {
protected:
    SetupMachine machine;
    std::vector<std::string> hooked;
    InfHook hook = [this](const std::string& path) {
        hooked.push_back(path);
        // The hook gets a writable file, whatever the media's attributes.
        if (machine.files.Exists(path)) {
            EXPECT_EQ(machine.files.Attributes(path), platform::kAttributeNormal) << path;
        }
    };

    void SetUp() override { machine.files.AddFolder("C:\\Program Files\\Quarnel"); }
    std::optional<std::uint32_t> Attributes(const std::string& path) {
        return machine.files.Attributes(path);
    }
};

TEST_F(Staging, DriverFilesKeepTheMediaAttributesAndOverwriteReadOnlyCopies)
{
    machine.files.AddFile("D:\\WinXP\\drv\\QNAUDIO.INF", "new inf", platform::kAttributeReadOnly);
    machine.files.AddFile("D:\\WinXP\\drv\\qnaudio.sys", "new sys");
    machine.files.AddFile(std::string(kStagingDir) + "qnaudio.sys", "old sys",
                          platform::kAttributeReadOnly);
    machine.files.AddFile(std::string(kStagingDir) + "old.cat", "from an earlier run");

    StageDriverFiles(machine.os(), "D:\\WinXP\\drv\\");

    EXPECT_EQ(machine.files.Read(std::string(kStagingDir) + "qnaudio.sys"), "new sys");
    EXPECT_EQ(Attributes(std::string(kStagingDir) + "qnaudio.sys"), platform::kAttributeArchive);
    EXPECT_EQ(machine.files.Read(std::string(kStagingDir) + "QNAUDIO.INF"), "new inf");
    EXPECT_EQ(Attributes(std::string(kStagingDir) + "QNAUDIO.INF"), platform::kAttributeReadOnly);
    // The staging folder is never emptied first.
    EXPECT_EQ(machine.files.Read(std::string(kStagingDir) + "old.cat"), "from an earlier run");
    EXPECT_EQ(machine.log().Details("CreateDirectoryA").front(), kStagingDir);
}

TEST_F(Staging, SubfoldersAreNotCopied)
{
    machine.files.AddFile("D:\\drv\\a.sys", "a");
    machine.files.AddFile("D:\\drv\\sub\\b.sys", "b");
    machine.files.AddFolder("D:\\drv\\empty.inf");
    StageDriverFiles(machine.os(), "D:\\drv\\", hook);
    EXPECT_EQ(machine.files.FilesBelow(kStagingDir),
              std::vector<std::string>{std::string(kStagingDir) + "a.sys"});
    EXPECT_FALSE(machine.files.Exists(std::string(kStagingDir) + "sub"));
    EXPECT_TRUE(hooked.empty());
}

TEST_F(Staging, OnlyLowerAndUpperCaseInfNamesReachTheHook)
{
    for (const char* name : {"a.inf", "B.INF", "c.inf.bak", "d.Inf", "e.txt", "inf", "f.iNF"})
        machine.files.AddFile(std::string("D:\\drv\\") + name, name, platform::kAttributeReadOnly);
    StageDriverFiles(machine.os(), "D:\\drv\\", hook);
    std::sort(hooked.begin(), hooked.end());
    EXPECT_EQ(hooked, (std::vector<std::string>{std::string(kStagingDir) + "B.INF",
                                                std::string(kStagingDir) + "a.inf",
                                                std::string(kStagingDir) + "c.inf.bak"}));
    // The copies that did not go to the hook keep the media's read-only attribute.
    EXPECT_EQ(Attributes(std::string(kStagingDir) + "d.Inf"), platform::kAttributeReadOnly);
}

TEST_F(Staging, AFailedCopyDoesNotStopTheLoopAndTheHookStillRuns)
{
    machine.files.AddFile("D:\\drv\\A.INF", "a");
    machine.files.AddFile("D:\\drv\\b.sys", "b");
    machine.faults.Fail("CopyFileA", "A.INF");
    StageDriverFiles(machine.os(), "D:\\drv\\", hook);
    EXPECT_FALSE(machine.files.Exists(std::string(kStagingDir) + "A.INF"));
    EXPECT_TRUE(machine.files.Exists(std::string(kStagingDir) + "b.sys"));
    EXPECT_EQ(hooked, std::vector<std::string>{std::string(kStagingDir) + "A.INF"});
}

TEST_F(Staging, AMissingMediaFolderCopiesNothing)
{
    StageDriverFiles(machine.os(), "D:\\WIN_ME\\drv\\", hook);
    EXPECT_TRUE(machine.files.IsFolder(kStagingDir));
    EXPECT_TRUE(machine.files.FilesBelow(kStagingDir).empty());
    EXPECT_TRUE(machine.log().Details("CopyFileA").empty());
}

TEST_F(Staging, DosFilesLoseTheMediaAttributes)
{
    machine.files.AddFolder("C:\\Program Files\\Quarnel\\DOS\\DOSAPP");
    machine.files.AddFile("D:\\Dosdrv\\QNSB.COM", "dos driver", platform::kAttributeReadOnly);
    machine.files.AddFile("D:\\Dosdrv\\DOSAPP\\QNMIX.EXE", "dos mixer",
                          platform::kAttributeReadOnly);
    machine.files.AddFile("C:\\Program Files\\Quarnel\\DOS\\QNSB.COM", "older",
                          platform::kAttributeReadOnly);
    StageDosDrivers(machine.os(), "D:\\");
    const std::string dos = "C:\\Program Files\\Quarnel\\DOS\\";
    EXPECT_EQ(machine.files.Read(dos + "QNSB.COM"), "dos driver");
    EXPECT_EQ(Attributes(dos + "QNSB.COM"), platform::kAttributeNormal);
    EXPECT_EQ(machine.files.Read(dos + "DOSAPP\\QNMIX.EXE"), "dos mixer");
    EXPECT_EQ(Attributes(dos + "DOSAPP\\QNMIX.EXE"), platform::kAttributeNormal);
    // The DOSAPP folder is copied as a folder of its own, not as part of Dosdrv.
    EXPECT_FALSE(machine.files.Exists(dos + "QNMIX.EXE"));
}

class MixerRegistration : public ::testing::Test {
protected:
    SetupMachine machine;

    std::optional<sim::SimRegValue> RunValue() {
        return machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey,
                                      "Replace Quarnel Mixer");
    }
};

TEST_F(MixerRegistration, PlacesTheMixerAndTheInstallerAndWritesTheRunValue)
{
    driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
    machine.files.AddFile("C:\\WINDOWS\\W2KSetup.exe", "older installer",
                          platform::kAttributeReadOnly);
    RegisterMixerReplacement(machine.os(), "D:\\WinXP\\drv\\");

    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "mixer xp");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\W2KSetup.exe"), "installer xp");
    auto value = RunValue();
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, sim::kRegSz);
    // Exactly the text, without a terminating zero and without quotes.
    EXPECT_EQ(value->data, "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
}

TEST_F(MixerRegistration, AWindowsDirectoryWithABlankIsQuoted)
{
    machine.files.windowsDirectory = "C:\\My Windows";
    machine.files.AddFolder("C:\\My Windows");
    machine.files.AddFile("C:\\My.exe", "another program");
    driver_media::AddDriverPackage(machine, "D:\\drv\\", "x");
    RegisterMixerReplacement(machine.os(), "D:\\drv\\");
    EXPECT_EQ(RunValue()->data, "\"C:\\My Windows\\W2KSetup.exe\" -ReplaceMixer");
    EXPECT_TRUE(machine.files.Exists("C:\\My Windows\\W2KSetup.exe"));
}

TEST_F(MixerRegistration, TwoInstallationsLeaveOneRunValue)
{
    driver_media::AddDriverPackage(machine, "D:\\drv\\", "x");
    RegisterMixerReplacement(machine.os(), "D:\\drv\\");
    RegisterMixerReplacement(machine.os(), "D:\\drv\\");
    EXPECT_EQ(machine.log().Count("RegSetValueExA"), 2u);
    EXPECT_EQ(machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey,
                                     "Replace Quarnel Mixer")->data,
              "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
}

TEST_F(MixerRegistration, WithoutMixerDatNothingIsPlacedOrRegistered)
{
    machine.files.AddFile("D:\\drv\\W2KSetup.dat", "installer");
    RegisterMixerReplacement(machine.os(), "D:\\drv\\");
    EXPECT_FALSE(machine.files.Exists("C:\\WINDOWS\\W2KSetup.exe"));
    EXPECT_FALSE(RunValue());
    EXPECT_TRUE(machine.log().Details("RegOpenKeyExA").empty());
}

TEST_F(MixerRegistration, AMissingInstallerCopyOrAClosedRunKeyAreIgnored)
{
    machine.files.AddFile("D:\\drv\\Mixer.dat", "mixer");
    machine.registry.MakeReadOnly(RootKey::LocalMachine, SetupMachine::kRunKey);
    RegisterMixerReplacement(machine.os(), "D:\\drv\\");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "mixer");
    EXPECT_FALSE(machine.files.Exists("C:\\WINDOWS\\W2KSetup.exe"));
    EXPECT_FALSE(RunValue());
}

TEST(ClearMixerInitialize, ResetsAnExistingFileAndCreatesNone)
{
    SetupMachine withFile;
    withFile.files.AddFile("C:\\WINDOWS\\mixerdef.ini",
                           "[RUNTIME]\r\nInitialize=1\r\nVolume=80\r\n");
    ClearMixerInitialize(withFile.os());
    EXPECT_EQ(withFile.profiles.Entry("mixerdef.ini", "RUNTIME", "Initialize"), "0");
    EXPECT_EQ(withFile.profiles.Entry("mixerdef.ini", "RUNTIME", "Volume"), "80");

    SetupMachine withoutFile;
    ClearMixerInitialize(withoutFile.os());
    EXPECT_FALSE(withoutFile.files.Exists("C:\\WINDOWS\\mixerdef.ini"));
    EXPECT_TRUE(withoutFile.log().Details("WritePrivateProfileStringA").empty());
}

}  // namespace
