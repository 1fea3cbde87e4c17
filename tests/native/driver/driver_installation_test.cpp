// The four driver installation variants: which steps run, in which order,
// from which media folder and with which windows closed.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "driver/driver_installation.h"
#include "support/driver_media.h"
#include "support/setup_machine.h"

namespace {

using driver_media::kHardwareId;
using driver_media::kStagedInf;
using driver_media::kStagingDir;
using platform::RootKey;

constexpr const char* kLegacyInf = "C:\\WINDOWS\\INF\\oem5.inf";
const std::string kMixerSettings = "[RUNTIME]\r\nInitialize=1\r\n";

// A machine with a complete media on D:, an earlier driver's INF, the
// mixer's settings file and the audio device present.
class Variants : public ::testing::Test {
protected:
    SetupMachine machine;
    driver_media::FixedInfOptions options;

    Variants() {
        machine.files.AddFile("D:\\Dosdrv\\QNSB.COM", "dos driver");
        machine.files.AddFile("D:\\Dosdrv\\DOSAPP\\QNMIX.EXE", "dos mixer");
        driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
        driver_media::AddDriverPackage(machine, "D:\\W2K-ME\\drv\\", "2k");
        driver_media::AddDriverPackage(machine, "D:\\WIN_ME\\drv\\", "me");
        // The web set-ups ship the package beside the installer.
        driver_media::AddDriverPackage(machine, "D:\\", "web");
        machine.InstallOption("WebSetup", 2);
        machine.files.AddFile(kLegacyInf,
                              "[Strings]\r\nSSC-Legacy.DeviceDesc=\"QNAUDIO Legacy Audio\"\r\n");
        machine.files.AddFile("C:\\WINDOWS\\mixerdef.ini", kMixerSettings);
        machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\4&1", {kHardwareId});
        options.lineInRear = true;
    }

    void Run(DriverInstallVariant variant, bool windowsXP = true) {
        DriverInstallRequest request;
        request.variant = variant;
        request.sourceDir = "D:\\";
        request.windowsXP = windowsXP;
        if (variant == DriverInstallVariant::MainDialog ||
            variant == DriverInstallVariant::Win2000Dialog)
            request.owner = static_cast<platform::WindowHandle>(0x30999);
        if (variant == DriverInstallVariant::Win2000Dialog)
            request.infOptions = &options;
        // The installation ends where the restart prompt is due; the pause
        // before it and the prompt itself are the caller's. No mixer comes
        // on this machine, so a restart is needed.
        const DriverInstallResult result = RunDriverInstallation(machine.os(), request);
        EXPECT_EQ(result.outcome, DriverInstallOutcome::RestartNeeded);
        EXPECT_EQ(result.pauseBeforePrompt, 5000u);
        EXPECT_TRUE(machine.dialogs.Shown().empty());
    }

    // The steps as the calls that mark them.
    std::vector<std::string> Steps() {
        return machine.log().Sequence(
            {"FindWindowExA", "SendMessageA", "Sleep", "WritePrivateProfileStringA",
             "CreateDirectoryA", "SetCurrentDirectoryA", "RegSetValueExA",
             "UpdateDriverForPlugAndPlayDevicesA", "SetupDiRemoveDevice", "SetupCopyOEMInfA"});
    }
    // The folders searched: the INF folder scans and the folders copied.
    std::vector<std::string> Searches() { return machine.log().Details("FindFirstFileA"); }
    std::optional<std::string> RunValue() {
        return machine.registry.Text(RootKey::LocalMachine, SetupMachine::kRunKey,
                                     "Replace Quarnel Mixer");
    }
    std::optional<std::string> Staged(const std::string& name) {
        return machine.files.Read(std::string(kStagingDir) + name);
    }
};

const std::vector<std::string> kCleanupScans = {
    "C:\\WINDOWS\\INF\\OTHER\\*.INF", "C:\\WINDOWS\\INF\\OEM*.INF", "C:\\WINDOWS\\INF\\QN*.INF",
    "C:\\WINDOWS\\INF\\oem*.INF"};

std::vector<std::string> Then(std::vector<std::string> first, const std::vector<std::string>& more)
{
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

TEST_F(Variants, DriverSwitchStagesTheXpPackageAndUpdatesTheDeviceDirectly)
{
    machine.desktop.AddWindow("Mixer");
    Run(DriverInstallVariant::DriverSwitch);

    EXPECT_EQ(Steps(), (std::vector<std::string>{
                           "WritePrivateProfileStringA [RUNTIME] Initialize=0 C:\\WINDOWS\\mixerdef.ini",
                           "CreateDirectoryA C:\\Program Files\\",
                           "CreateDirectoryA C:\\Program Files\\Quarnel\\",
                           "CreateDirectoryA C:\\Program Files\\Quarnel\\DOS\\",
                           "CreateDirectoryA C:\\Program Files\\Quarnel\\DOS\\DOSAPP\\",
                           "SetCurrentDirectoryA D:\\WinXP\\",
                           "CreateDirectoryA " + std::string(kStagingDir),
                           "RegSetValueExA HKLM\\" + std::string(SetupMachine::kRunKey) +
                               " Replace Quarnel Mixer=C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer",
                           "UpdateDriverForPlugAndPlayDevicesA " + std::string(kHardwareId) + " " +
                               kStagedInf + " 0x1"}));
    EXPECT_EQ(Searches(), Then(kCleanupScans, {"D:\\Dosdrv\\*.*", "D:\\Dosdrv\\DOSAPP\\*.*",
                                               "D:\\WinXP\\drv\\*.*"}));

    EXPECT_FALSE(machine.files.Exists(kLegacyInf));
    EXPECT_EQ(machine.files.Read("C:\\Program Files\\Quarnel\\DOS\\QNSB.COM"), "dos driver");
    EXPECT_EQ(machine.files.Read("C:\\Program Files\\Quarnel\\DOS\\DOSAPP\\QNMIX.EXE"),
              "dos mixer");
    EXPECT_EQ(Staged("qnaudio.sys"), "driver xp");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "mixer xp");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\W2KSetup.exe"), "installer xp");
    EXPECT_EQ(RunValue(), "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
    // The staged INF is not patched and, after a direct update, stays in place.
    EXPECT_EQ(Staged("QNAUDIO.INF"), *machine.files.Read("D:\\WinXP\\drv\\QNAUDIO.INF"));
    EXPECT_TRUE(machine.devices.oemInfs.empty());
    EXPECT_EQ(machine.log().Count("SetupSetSourceListA"), 0u);
    // The caller closes the mixer in this variant, not the installation.
    EXPECT_TRUE(machine.desktop.IsOpen("Mixer"));
}

TEST_F(Variants, DriverSwitchOnWindows2000TakesTheW2kPackage)
{
    Run(DriverInstallVariant::DriverSwitch, false);
    EXPECT_EQ(machine.log().Details("SetCurrentDirectoryA"), std::vector<std::string>{"D:\\W2K-ME\\"});
    EXPECT_EQ(Staged("qnaudio.sys"), "driver 2k");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "mixer 2k");
}

TEST_F(Variants, MainDialogRunsLikeTheSwitchAndLeavesTheMixerOpen)
{
    machine.desktop.AddWindow("Mixer");
    Run(DriverInstallVariant::MainDialog);
    EXPECT_TRUE(machine.desktop.IsOpen("Mixer"));
    EXPECT_EQ(machine.log().Count("FindWindowExA"), 0u);
    EXPECT_EQ(Searches(), Then(kCleanupScans, {"D:\\Dosdrv\\*.*", "D:\\Dosdrv\\DOSAPP\\*.*",
                                               "D:\\WinXP\\drv\\*.*"}));
    EXPECT_EQ(machine.profiles.Entry("mixerdef.ini", "RUNTIME", "Initialize"), "0");
    EXPECT_EQ(machine.devices.updates.size(), 1u);
    EXPECT_EQ(RunValue(), "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
}

TEST_F(Variants, WebSilentReinstallsFromBesideTheInstallerAndKeepsTheMixerSettings)
{
    Run(DriverInstallVariant::WebSilent);

    EXPECT_EQ(Steps(), (std::vector<std::string>{
                           "CreateDirectoryA C:\\Program Files\\",
                           "CreateDirectoryA C:\\Program Files\\Quarnel\\",
                           "CreateDirectoryA " + std::string(kStagingDir),
                           "RegSetValueExA HKLM\\" + std::string(SetupMachine::kRunKey) +
                               " Replace Quarnel Mixer=C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer",
                           "SetupDiRemoveDevice PCI\\VEN_7E2D&DEV_0111\\4&1",
                           "SetupCopyOEMInfA " + std::string(kStagedInf) +
                               " C:\\Program Files\\Quarnel\\WIN_ME"}));
    EXPECT_EQ(Searches(), Then(kCleanupScans, {"D:\\*.*"}));
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\mixerdef.ini"), kMixerSettings);
    EXPECT_FALSE(machine.files.Exists("C:\\Program Files\\Quarnel\\DOS"));
    // The installer's whole folder is staged, the installer and setup.ini included.
    EXPECT_EQ(Staged("W2KSETUP.EXE"), "installer");
    EXPECT_TRUE(Staged("setup.ini"));
    EXPECT_EQ(Staged("qnaudio.sys"), "driver web");
    EXPECT_FALSE(Staged("QNAUDIO.INF"));  // gone with the OEM copy
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\Mixer.dat"), "mixer web");
    EXPECT_TRUE(machine.devices.updates.empty());
    EXPECT_EQ(machine.devices.sourceList.back(), kStagingDir);
    EXPECT_EQ(machine.now(), 30000u);  // the completion wait
}

TEST_F(Variants, Win2000DialogClosesTheSuiteAndTheMixerThenReinstallsAPatchedInf)
{
    machine.desktop.AddWindow("TuneStack");
    machine.desktop.AddWindow("CD Player");
    machine.desktop.AddWindow("Mixer");
    options.legacyDisabled = true;
    Run(DriverInstallVariant::Win2000Dialog);

    EXPECT_EQ(Steps(), (std::vector<std::string>{
                           "FindWindowExA TuneStack", "SendMessageA WM_CLOSE TuneStack",
                           "Sleep 500", "FindWindowExA Mixer", "SendMessageA WM_CLOSE Mixer",
                           "Sleep 500",
                           "WritePrivateProfileStringA [RUNTIME] Initialize=0 C:\\WINDOWS\\mixerdef.ini",
                           "CreateDirectoryA C:\\Program Files\\",
                           "CreateDirectoryA C:\\Program Files\\Quarnel\\",
                           "CreateDirectoryA " + std::string(kStagingDir),
                           "CreateDirectoryA " + std::string(kStagingDir),
                           "Sleep 100",  // the legacy line of the staged INF
                           "SetupDiRemoveDevice PCI\\VEN_7E2D&DEV_0111\\4&1",
                           "SetupCopyOEMInfA " + std::string(kStagedInf) +
                               " C:\\Program Files\\Quarnel\\WIN_ME"}));
    EXPECT_EQ(Searches(), Then(kCleanupScans, {"D:\\*.*"}));
    EXPECT_TRUE(machine.desktop.IsOpen("CD Player"));
    EXPECT_FALSE(machine.desktop.IsOpen("Mixer"));

    // The INF that reaches the system carries the options.
    ASSERT_EQ(machine.devices.oemInfs.size(), 1u);
    const std::string registered = *machine.files.Read(machine.devices.oemInfs[0]);
    EXPECT_NE(registered.find("\"EnableLegacy\",    0x00010001,0x02,"), std::string::npos);
    EXPECT_NE(registered.find("\"JackConfig\",      0x00010001,0x01,"), std::string::npos);
    // Mixer.dat is staged like any file but neither placed nor registered.
    EXPECT_EQ(Staged("Mixer.dat"), "mixer web");
    EXPECT_FALSE(machine.files.Exists("C:\\WINDOWS\\Mixer.dat"));
    EXPECT_FALSE(RunValue());
    EXPECT_EQ(machine.now(), 1000u + 100u + 30000u);
}

TEST_F(Variants, Win2000DialogWithoutTheSuiteClosesEachPlayerFound)
{
    machine.desktop.AddWindow("CD Player");
    machine.desktop.AddWindow("MP3 Player");
    Run(DriverInstallVariant::Win2000Dialog);
    EXPECT_FALSE(machine.desktop.IsOpen("CD Player"));
    EXPECT_FALSE(machine.desktop.IsOpen("MP3 Player"));
    EXPECT_EQ(machine.log().Details("SendMessageA"),
              (std::vector<std::string>{"WM_CLOSE CD Player", "WM_CLOSE MP3 Player"}));
    EXPECT_EQ(machine.clock.Pauses().front(), 500u);
}

TEST_F(Variants, OnlyTheDialogVariantPatchesAndOnlyInfNamesAreHooked)
{
    machine.files.AddFile("D:\\extra.Inf", std::string(driver_media::kJackConfigLine) + "\r\n");
    machine.files.AddFile("D:\\second.inf", std::string(driver_media::kJackConfigLine) + "\r\n");
    Run(DriverInstallVariant::WebSilent);
    EXPECT_EQ(Staged("second.inf"), std::string(driver_media::kJackConfigLine) + "\r\n");

    SetupMachine dialog;
    dialog.files.AddFile("D:\\extra.Inf", std::string(driver_media::kJackConfigLine) + "\r\n");
    dialog.files.AddFile("D:\\second.inf", std::string(driver_media::kJackConfigLine) + "\r\n");
    DriverInstallRequest request;
    request.variant = DriverInstallVariant::Win2000Dialog;
    request.sourceDir = "D:\\";
    request.infOptions = &options;
    RunDriverInstallation(dialog.os(), request);
    const std::string staged = std::string(kStagingDir);
    EXPECT_NE(dialog.files.Read(staged + "second.inf")->find("0x01,"), std::string::npos);
    EXPECT_NE(dialog.files.Read(staged + "extra.Inf")->find("0x05,"), std::string::npos);
}

}  // namespace

// Whatever kept the driver's INF out of the staging folder, the installation
// stops before it touches the device or the INF folder.
TEST(NothingStaged, NoVariantTouchesTheDeviceOrTheInfFolderWithoutTheStagedInf)
{
    const DriverInstallVariant variants[] = {
        DriverInstallVariant::DriverSwitch, DriverInstallVariant::WebSilent,
        DriverInstallVariant::MainDialog, DriverInstallVariant::Win2000Dialog};
    const std::function<void(SetupMachine&)> causes[] = {
        [](SetupMachine& m) {  // the media folder lacks it
            m.files.Erase("D:\\WinXP\\drv\\QNAUDIO.INF");
            m.files.Erase("D:\\QNAUDIO.INF");
        },
        [](SetupMachine& m) { m.faults.FailAlways("CopyFileA", "QNAUDIO.INF"); },
        [](SetupMachine& m) { m.faults.FailAlways("CreateDirectoryA", "WIN_ME"); },
    };
    for (DriverInstallVariant variant : variants) {
        for (std::size_t cause = 0; cause < std::size(causes); ++cause) {
            SCOPED_TRACE(std::to_string(static_cast<int>(variant)) + " cause " +
                         std::to_string(cause));
            SetupMachine machine;
            driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
            driver_media::AddDriverPackage(machine, "D:\\", "web");
            machine.files.AddFile("C:\\WINDOWS\\INF\\Drvdata.bin", "db");
            machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\4&1", {kHardwareId});
            causes[cause](machine);
            driver_media::FixedInfOptions options;
            DriverInstallRequest request;
            request.variant = variant;
            request.sourceDir = "D:\\";
            request.windowsXP = true;
            request.infOptions = &options;

            EXPECT_EQ(RunDriverInstallation(machine.os(), request).outcome,
                      DriverInstallOutcome::NothingStaged);
            EXPECT_TRUE(machine.devices.Device("PCI\\VEN_7E2D&DEV_0111\\4&1")->present);
            EXPECT_EQ(machine.log().Count("SetupDiGetClassDevsA"), 0u);
            EXPECT_EQ(machine.log().Count("UpdateDriverForPlugAndPlayDevicesA"), 0u);
            EXPECT_TRUE(machine.files.Exists("C:\\WINDOWS\\INF\\Drvdata.bin"));
            EXPECT_TRUE(machine.devices.oemInfs.empty());
            EXPECT_EQ(machine.log().Count("SetupSetSourceListA"), 0u);
            // Nothing of the new driver waits for the next logon either.
            EXPECT_FALSE(machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey,
                                                "Replace Quarnel Mixer"));
            EXPECT_EQ(machine.log().Count("mixerGetNumDevs"), 0u);  // no completion wait
        }
    }
}

TEST(NothingStaged, AnInfLeftFromAnEarlierRunStillCounts)
{
    SetupMachine machine;
    machine.files.AddFile(kStagedInf, driver_media::DriverInf());
    machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\4&1", {kHardwareId});
    DriverInstallRequest request;
    request.variant = DriverInstallVariant::DriverSwitch;
    request.sourceDir = "D:\\";  // an empty media: nothing is copied
    EXPECT_EQ(RunDriverInstallation(machine.os(), request).outcome,
              DriverInstallOutcome::RestartNeeded);
    EXPECT_EQ(machine.devices.updates.size(), 1u);
}

// Only a driver that runs, with nothing left for the restart, needs none.
TEST(Outcome, SaysWhetherTheDriverWentInAndWhetherARestartIsNeeded)
{
    struct Case {
        const char* what;
        DriverInstallVariant variant;
        std::function<void(SetupMachine&)> arrange;
        DriverInstallOutcome expected;
    };
    const auto mixersCome = [](SetupMachine& m) { m.mixer.ChangeAt(3000, 2); };
    const auto withoutMixerDat = [](SetupMachine& m) {
        m.files.Erase("D:\\WinXP\\drv\\Mixer.dat");
    };
    const Case cases[] = {
        {"the new mixers come, nothing waits for the logon", DriverInstallVariant::DriverSwitch,
         [&](SetupMachine& m) { mixersCome(m); withoutMixerDat(m); },
         DriverInstallOutcome::Installed},
        {"the mixer replacement waits for the logon", DriverInstallVariant::DriverSwitch,
         mixersCome, DriverInstallOutcome::RestartNeeded},
        {"the new mixers do not come", DriverInstallVariant::DriverSwitch, withoutMixerDat,
         DriverInstallOutcome::RestartNeeded},
        {"the Run value cannot be written", DriverInstallVariant::DriverSwitch,
         [&](SetupMachine& m) {
             mixersCome(m);
             m.faults.Fail("RegSetValueExA");
         },
         DriverInstallOutcome::Installed},
        {"the reinstall cannot register the INF", DriverInstallVariant::WebSilent,
         [](SetupMachine& m) { m.faults.Fail("SetupCopyOEMInfA"); },
         DriverInstallOutcome::InfNotRegistered},
        {"the reinstall's mixers come", DriverInstallVariant::WebSilent,
         [&](SetupMachine& m) {
             mixersCome(m);
             m.files.Erase("D:\\Mixer.dat");
         },
         DriverInstallOutcome::Installed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetupMachine machine;
        driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
        driver_media::AddDriverPackage(machine, "D:\\", "web");
        machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\4&1", {kHardwareId});
        machine.mixer.count = 1;
        c.arrange(machine);
        DriverInstallRequest request;
        request.variant = c.variant;
        request.sourceDir = "D:\\";
        request.windowsXP = true;
        EXPECT_EQ(RunDriverInstallation(machine.os(), request).outcome, c.expected);
    }
}
