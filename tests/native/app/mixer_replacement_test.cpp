// The run after the restart: "W2KSetup.exe -ReplaceMixer" from the Run key.
#include <gtest/gtest.h>

#include "support/expected_texts.h"
#include "support/setup_machine.h"

namespace {

using platform::RootKey;

class MixerReplacement : public ::testing::Test {
protected:
    SetupMachine machine;

    MixerReplacement() {
        machine.files.AddFile("C:\\WINDOWS\\W2KSetup.exe", "installer");
        StartFrom(machine, "C:\\WINDOWS\\W2KSetup.exe");
        machine.files.AddFile("C:\\WINDOWS\\Mixer.dat", "new mixer");
        machine.files.AddFile("C:\\WINDOWS\\Mixer.exe", "old mixer", platform::kAttributeReadOnly);
        machine.registry.PutString(RootKey::LocalMachine, SetupMachine::kRunKey,
                                   "Replace Quarnel Mixer",
                                   "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
    }
    bool RunValueLeft() {
        return machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey,
                                      "Replace Quarnel Mixer").has_value();
    }
};

TEST_F(MixerReplacement, WindowFoundAtOnce)
{
    machine.desktop.AddWindow("Mixer");
    InstallerRun run = machine.Run("-ReplaceMixer");
    EXPECT_FALSE(run.exited);

    EXPECT_FALSE(RunValueLeft());
    EXPECT_FALSE(machine.desktop.IsOpen("Mixer"));
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.exe"), "new mixer");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "new mixer");

    // No pause before WM_CLOSE, one second after it.
    auto timeline = machine.log().Sequence({"FindWindowExA", "SendMessageA", "SleepEx"});
    EXPECT_EQ(timeline, (std::vector<std::string>{"FindWindowExA Mixer",
                                                  "SendMessageA WM_CLOSE Mixer", "SleepEx 1000"}));

    ASSERT_EQ(machine.processes.Started().size(), 1u);
    const sim::SimStartedProcess& mixer = machine.processes.Started()[0];
    EXPECT_EQ(mixer.function, "CreateProcessA");
    EXPECT_EQ(mixer.commandLine, "C:\\WINDOWS\\Mixer.exe /startup");
    EXPECT_EQ(mixer.show, platform::kShowHide);
    EXPECT_EQ(machine.processes.OpenHandleCount(), 0u);

    // A completed replacement ends the run: no preference is touched.
    EXPECT_TRUE(machine.log().Details("GetPrivateProfileIntA").empty());
    EXPECT_FALSE(machine.files.Exists("C:\\WINDOWS\\QNCDPLAY.INI"));
}

TEST_F(MixerReplacement, WindowNeverFoundCostsAHundredSeconds)
{
    machine.Run("-replacemixer");
    EXPECT_EQ(machine.log().Count("FindWindowExA"), 101u);
    std::vector<std::uint32_t> pauses = machine.clock.Pauses();
    EXPECT_EQ(pauses, std::vector<std::uint32_t>(100, 1000));
    EXPECT_EQ(machine.now(), 100000u);
    EXPECT_TRUE(machine.log().Details("SendMessageA").empty());
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.exe"), "new mixer");
    EXPECT_EQ(machine.processes.Started().size(), 1u);
}

TEST_F(MixerReplacement, WindowAppearingLaterCostsAPauseForEachLookup)
{
    // The window turns up in the third further lookup: three pauses, then the
    // one after WM_CLOSE.
    machine.faults.Fail("FindWindowExA", "Mixer", 3);
    machine.desktop.AddWindow("Mixer");
    machine.Run("-REPLACEMIXER");
    EXPECT_EQ(machine.log().Count("FindWindowExA"), 4u);
    EXPECT_EQ(machine.clock.Pauses(), (std::vector<std::uint32_t>{1000, 1000, 1000, 1000}));
    // Each further lookup is followed by its pause, the successful one included.
    auto timeline = machine.log().Sequence({"FindWindowExA", "SendMessageA", "SleepEx"});
    EXPECT_EQ(timeline, (std::vector<std::string>{
                            "FindWindowExA Mixer (failed)", "FindWindowExA Mixer (failed)",
                            "SleepEx 1000", "FindWindowExA Mixer (failed)", "SleepEx 1000",
                            "FindWindowExA Mixer", "SleepEx 1000", "SendMessageA WM_CLOSE Mixer",
                            "SleepEx 1000"}));
}

TEST_F(MixerReplacement, RunValueGoesFirstWhateverFollows)
{
    machine.files.Erase("C:\\WINDOWS\\Mixer.dat");
    machine.desktop.AddWindow("Mixer");
    machine.InstallOption("WebSetup", 1);  // setup.ini beside the copy: none; defaults apply
    InstallerRun run = machine.Run("-ReplaceMixer");
    EXPECT_FALSE(RunValueLeft());
    EXPECT_FALSE(machine.desktop.IsOpen("Mixer"));
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.exe"), "old mixer");
    EXPECT_TRUE(machine.processes.Started().empty());
    auto deleted = machine.log().Details("RegDeleteValueA");
    ASSERT_GE(deleted.size(), 1u);
    EXPECT_NE(deleted[0].find("Replace Quarnel Mixer"), std::string::npos);

    // Start-up goes on from the Windows directory, where the copy lives.
    EXPECT_EQ(machine.log().Details("GetPrivateProfileIntA")[0],
              "[InstallOption] DriverOnly C:\\WINDOWS\\setup.ini");
    EXPECT_EQ(machine.log().Count("Enable3dControlsStatic"), 1u);
    // There it reaches the main options dialog, which finds no package beside
    // the copy: one message, and the process ends before the dialog shows.
    EXPECT_EQ(machine.dialogs.Shown(), std::vector<int>{102});
    ASSERT_EQ(machine.desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(machine.desktop.MessageBoxes()[0].text, expected_text::kMissingInstallationFiles);
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(MixerReplacement, RunKeyWithoutFullAccessLeavesEverything)
{
    machine.registry.MakeReadOnly(RootKey::LocalMachine, SetupMachine::kRunKey);
    machine.desktop.AddWindow("Mixer");
    machine.Run("-ReplaceMixer");
    EXPECT_TRUE(RunValueLeft());
    EXPECT_TRUE(machine.desktop.IsOpen("Mixer"));
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.exe"), "old mixer");
    EXPECT_TRUE(machine.log().Details("FindWindowExA").empty());
    // The normal start-up follows, into the main options dialog, which asks
    // for the version once more.
    EXPECT_EQ(machine.log().Count("GetVersionExA"), 2u);
    EXPECT_EQ(machine.dialogs.Shown(), std::vector<int>{102});
}

TEST_F(MixerReplacement, FailedCopyAndStartAreNotReported)
{
    machine.faults.Fail("CopyFileA");
    machine.faults.Fail("CreateProcessA");
    InstallerRun run = machine.Run("-ReplaceMixer");
    EXPECT_FALSE(run.exited);
    EXPECT_FALSE(machine.files.Exists("C:\\WINDOWS\\Mixer.exe"));
    EXPECT_TRUE(machine.desktop.MessageBoxes().empty());
    // The replacement still counts as run: start-up does not go on.
    EXPECT_EQ(machine.log().Count("GetVersionExA"), 0u);
}

TEST(MixerReplacementPaths, WindowsDirectoryWithABlankIsQuoted)
{
    SetupMachine machine;
    machine.files.windowsDirectory = "C:\\My Windows";
    machine.files.AddFile("C:\\My.exe", "wrong program");
    machine.files.AddFile("C:\\My Windows\\Mixer.dat", "new mixer");
    machine.Run("-ReplaceMixer");
    ASSERT_EQ(machine.processes.Started().size(), 1u);
    EXPECT_EQ(machine.processes.Started()[0].commandLine,
              "\"C:\\My Windows\\Mixer.exe\" /startup");
    EXPECT_EQ(machine.processes.Started()[0].image, "C:\\My Windows\\Mixer.exe");
}

}  // namespace
