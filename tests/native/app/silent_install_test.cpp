// "/S": the driver with no window at all, and the result in the exit code.
#include <gtest/gtest.h>

#include "common/exit_codes.h"
#include "sim/windows_versions.h"
#include "support/driver_media.h"
#include "support/expected_texts.h"
#include "support/setup_machine.h"

namespace {

using driver_media::kStagedInf;
using driver_media::kStagingDir;
using platform::RootKey;

constexpr const char* kDeviceInstance = "PCI\\VEN_7E2D&DEV_0111\\4&1";

// Windows XP with the device, an earlier driver's running mixer, and a
// media with the DOS drivers, the XP package and a web set-up's package
// beside the installer.
class Silent : public ::testing::Test {
protected:
    SetupMachine machine;

    Silent() {
        machine.files.AddFile("D:\\Dosdrv\\QNSB.COM", "dos driver");
        driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
        driver_media::AddDriverPackage(machine, "D:\\", "web");
        machine.devices.AddDevice(kDeviceInstance, {driver_media::kHardwareId});
        machine.desktop.AddWindow("Mixer");
        machine.files.AddFile("C:\\WINDOWS\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
    }

    // Nothing of the installer's own was shown, and no restart was asked for.
    void ExpectNoWindow(SetupMachine& m) {
        EXPECT_TRUE(m.desktop.MessageBoxes().empty());
        EXPECT_TRUE(m.dialogs.Shown().empty());
        EXPECT_TRUE(m.security.exitWindowsFlags.empty());
        EXPECT_EQ(m.log().Count("Enable3dControlsStatic"), 0u);
    }
    std::optional<std::string> RunValue(SetupMachine& m) {
        return m.registry.Text(RootKey::LocalMachine, SetupMachine::kRunKey,
                               "Replace Quarnel Mixer");
    }
};

TEST_F(Silent, OnXpWithTheDeviceInstallsTheCommandLineDriverAndAsksTheCallerToRestart)
{
    const InstallerRun run = machine.Run("/S");
    EXPECT_FALSE(run.exited);
    EXPECT_EQ(run.exitCode, kExitRestartNeeded);
    ExpectNoWindow(machine);

    // The command-line driver's steps: the mixer closed, the XP folder and
    // the DOS drivers staged, the device updated directly.
    EXPECT_FALSE(machine.desktop.IsOpen("Mixer"));
    EXPECT_EQ(machine.files.Read(std::string(kStagingDir) + "qnaudio.sys"), "driver xp");
    EXPECT_EQ(machine.files.Read("C:\\Program Files\\Quarnel\\DOS\\QNSB.COM"), "dos driver");
    EXPECT_EQ(machine.profiles.Entry("mixerdef.ini", "RUNTIME", "Initialize"), "0");
    ASSERT_EQ(machine.devices.updates.size(), 1u);
    EXPECT_EQ(machine.devices.updates[0].infPath, kStagedInf);
    EXPECT_TRUE(machine.devices.Device(kDeviceInstance)->present);
    // The mixer is swapped after the caller's restart.
    EXPECT_EQ(RunValue(machine), "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "mixer xp");
    // The completion wait and nothing after it: no pause for a prompt.
    EXPECT_EQ(machine.clock.Pauses(), std::vector<std::uint32_t>(10, 3000));
    EXPECT_EQ(machine.log().Sequence({"BeginWaitCursor", "EndWaitCursor"}),
              (std::vector<std::string>{"BeginWaitCursor", "EndWaitCursor"}));
}

// WebSetup=1 with InstallWDMDriver would show the Windows 2000/XP dialog, and
// without it install nothing; "/S" takes the silent web set-up's steps for both.
TEST_F(Silent, AnyWebSetupButZeroTakesTheSilentWebSetUpsSteps)
{
    for (int webSetup : {1, 2, -1}) {
        SetupMachine fresh;
        driver_media::AddDriverPackage(fresh, "D:\\WinXP\\drv\\", "xp");
        driver_media::AddDriverPackage(fresh, "D:\\", "web");
        fresh.devices.AddDevice(kDeviceInstance, {driver_media::kHardwareId});
        fresh.files.AddFile("C:\\WINDOWS\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
        fresh.InstallOption("WebSetup", webSetup);
        fresh.InstallOption("InstallWDMDriver", 1);

        EXPECT_EQ(fresh.Run("/S").exitCode, kExitRestartNeeded) << webSetup;
        ExpectNoWindow(fresh);
        EXPECT_EQ(fresh.files.Read(std::string(kStagingDir) + "qnaudio.sys"), "driver web");
        EXPECT_FALSE(fresh.files.Exists("C:\\Program Files\\Quarnel\\DOS"));
        EXPECT_EQ(fresh.profiles.Entry("mixerdef.ini", "RUNTIME", "Initialize"), "1");
        EXPECT_TRUE(fresh.devices.updates.empty());  // removed and reinstalled
        EXPECT_EQ(fresh.devices.oemInfs.size(), 1u);
        EXPECT_EQ(RunValue(fresh), "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
    }
}

TEST_F(Silent, TheExitCodeFollowsWhatWentIn)
{
    struct Case {
        const char* what;
        std::function<void(SetupMachine&)> arrange;
        int exitCode;
    };
    const Case cases[] = {
        {"the new mixers come and nothing waits for the logon",
         [](SetupMachine& m) {
             m.files.Erase("D:\\WinXP\\drv\\Mixer.dat");
             m.mixer.ChangeAt(3000, 1);
         },
         kExitInstalled},
        {"Windows asks for a restart",
         [](SetupMachine& m) { m.devices.updateNeedsReboot = true; }, kExitRestartNeeded},
        {"no driver files", [](SetupMachine& m) { m.files.Erase("D:\\WinXP\\drv\\QNAUDIO.INF"); },
         kExitInstallFailed},
        {"the reinstall cannot register the INF",
         [](SetupMachine& m) {
             m.devices.updateSucceeds = false;
             m.faults.FailAlways("SetupCopyOEMInfA");
         },
         kExitInstallFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupMachine fresh;
        driver_media::AddDriverPackage(fresh, "D:\\WinXP\\drv\\", "xp");
        fresh.devices.AddDevice(kDeviceInstance, {driver_media::kHardwareId});
        c.arrange(fresh);
        EXPECT_EQ(fresh.Run("/S").exitCode, c.exitCode);
        ExpectNoWindow(fresh);
        // The prompt's pauses (5 s after the wait, 10 s after an update that
        // asks for a restart) do not come without the prompt.
        for (std::uint32_t pause : fresh.clock.Pauses())
            EXPECT_EQ(pause, 3000u);
    }
}

TEST_F(Silent, WithoutDriverFilesNothingIsInstalledOrShown)
{
    machine.files.Erase("D:\\WinXP\\drv\\QNAUDIO.INF");
    EXPECT_EQ(machine.Run("/S").exitCode, kExitInstallFailed);
    ExpectNoWindow(machine);
    EXPECT_TRUE(machine.devices.updates.empty());
    EXPECT_TRUE(machine.devices.Device(kDeviceInstance)->present);
    EXPECT_TRUE(machine.devices.oemInfs.empty());
    EXPECT_FALSE(RunValue(machine));
}

TEST_F(Silent, OlderWindowsHaveNoUnattendedPathAndNothingIsStarted)
{
    for (const platform::VersionInfo& version :
         {versions::kWindows95, versions::kWindows98, versions::kWindowsMe,
          versions::kWindowsNt4}) {
        SetupMachine fresh;
        fresh.version.info = version;
        fresh.files.AddFile("D:\\Setup.exe", "media setup");
        fresh.InstallOption("DriverOnly", 1);
        driver_media::AddDriverPackage(fresh, "D:\\WIN_ME\\drv\\", "me");
        const InstallerRun run = fresh.Run("-silent");
        EXPECT_FALSE(run.exited);
        EXPECT_EQ(run.exitCode, kExitNoUnattendedPath);
        EXPECT_EQ(fresh.log().Count("WinExec"), 0u);
        EXPECT_TRUE(fresh.processes.Started().empty());
        EXPECT_FALSE(fresh.files.Exists(kStagedInf));
        ExpectNoWindow(fresh);
    }
}

// Every other command line ends with 0, whatever happened (and every run
// of the native tests but "/S" is held to that, see RunToItsEnd).
TEST_F(Silent, TheDriverLiteralWithoutDriverFilesStillEndsWithZero)
{
    machine.files.Erase("D:\\WinXP\\drv\\QNAUDIO.INF");
    EXPECT_EQ(machine.Run("/DRIVER").exitCode, 0);
    ASSERT_EQ(machine.desktop.MessageBoxes().size(), 2u);
    EXPECT_EQ(machine.desktop.MessageBoxes()[1].text, expected_text::kMissingInstallationFiles);
}

}  // namespace
