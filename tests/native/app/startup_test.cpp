// The start-up sequence and the choice of exactly one path.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/setup_app.h"
#include "support/expected_texts.h"
#include "resources/resource.h"
#include "support/driver_media.h"
#include "sim/windows_versions.h"
#include "support/setup_machine.h"

namespace {

using platform::RootKey;

class Startup : public ::testing::Test {
protected:
    SetupMachine machine;

    void OnWindows(const platform::VersionInfo& version) { machine.version.info = version; }
    std::vector<std::string> HandOvers() { return machine.log().Details("WinExec"); }
    bool DriverNoticeShown() {
        for (const auto& box : machine.desktop.MessageBoxes()) {
            if (box.text == expected_text::kDriverNotice)
                return true;
        }
        return false;
    }
};

TEST_F(Startup, OlderWindowsHandOverToTheMediaSetup)
{
    struct Case {
        platform::VersionInfo version;
        const char* commandLine;
        int driverOnly;
        int webSetup;
        const char* expected;
    };
    const Case cases[] = {
        {versions::kWindows98, "", 0, 0, "D:\\Setup.exe show=5"},
        {versions::kWindows98, "/ap", 0, 0, "D:\\Setup.exe /AP show=5"},
        {versions::kWindows98, "/AP", 1, 0, "D:\\Setup.exe /AP show=5"},  // the AP test wins
        {versions::kWindows95, "driver", 0, 0, "D:\\Setup.exe /DRIVER show=5"},
        {versions::kWindowsMe, "", 1, 0, "D:\\Setup.exe /DRIVER show=5"},
        {versions::kWindowsNt4, "-AP", 0, 2, "D:\\Setup.exe /AP show=5"},  // WebSetup plays no part
        {versions::kWindowsNt4, "/AP /DRIVER", 1, 1, "D:\\Setup.exe /DRIVER show=5"},
    };
    for (const Case& c : cases) {
        SetupMachine fresh;
        fresh.version.info = c.version;
        fresh.files.AddFile("D:\\Setup.exe", "media setup");
        fresh.InstallOption("DriverOnly", c.driverOnly);
        fresh.InstallOption("WebSetup", c.webSetup);
        InstallerRun run = fresh.Run(c.commandLine);
        EXPECT_FALSE(run.exited);
        EXPECT_EQ(fresh.log().Details("WinExec"), std::vector<std::string>{c.expected})
            << "command line '" << c.commandLine << "'";
        EXPECT_TRUE(fresh.log().Details("DialogBoxParamA").empty());
    }
}

TEST_F(Startup, HandOverQuotesAMediaPathWithBlanks)
{
    OnWindows(versions::kWindows98);
    // Unquoted, "E:\Audio.exe" would be started instead of the media's setup.
    machine.files.AddFile("E:\\Audio.exe", "another program");
    machine.files.AddFile("E:\\Audio Setup\\Setup.exe", "media setup");
    machine.files.AddFile("E:\\Audio Setup\\W2KSetup.exe", "installer");
    StartFrom(machine, "E:\\Audio Setup\\W2KSetup.exe");
    machine.Run("/AP");
    ASSERT_EQ(machine.processes.Started().size(), 1u);
    EXPECT_EQ(machine.processes.Started()[0].commandLine, "\"E:\\Audio Setup\\Setup.exe\" /AP");
    EXPECT_EQ(machine.processes.Started()[0].image, "E:\\Audio Setup\\Setup.exe");
}

TEST_F(Startup, HandOverNeverStartsTheRunningProgramItself)
{
    OnWindows(versions::kWindows98);
    machine.files.AddFile("D:\\SETUP.EXE", "this installer");
    StartFrom(machine, "D:\\SETUP.EXE");
    machine.processes.modulePath = "d:\\setup.exe";
    InstallerRun run = machine.Run("/AP");
    EXPECT_FALSE(run.exited);
    EXPECT_TRUE(HandOvers().empty());
    EXPECT_TRUE(machine.processes.Started().empty());
}

// The check compares the two paths without case: "a" to "z" match their
// capitals, and the characters next to them ('`' and '{', '@' and '[')
// stay what they are.
TEST_F(Startup, SelfStartCheckIgnoresTheCaseOfLettersOnly)
{
    struct Case {
        const char* startedAs;  // __argv[0], which gives SourceDir
        const char* module;     // GetModuleFileNameA
        bool handsOver;
    };
    const Case cases[] = {
        {"D:\\ZAP\\W2KSETUP.EXE", "d:\\zap\\setup.exe", false},
        {"d:\\zap\\w2ksetup.exe", "D:\\ZAP\\SETUP.EXE", false},
        {"D:\\A\\W2KSETUP.EXE", "d:\\a\\setup.exe", false},
        {"D:\\@\\W2KSETUP.EXE", "d:\\`\\setup.exe", true},
        {"D:\\`\\W2KSETUP.EXE", "D:\\@\\SETUP.EXE", true},
        {"D:\\[\\W2KSETUP.EXE", "d:\\{\\setup.exe", true},
        {"D:\\{\\W2KSETUP.EXE", "D:\\[\\SETUP.EXE", true},
    };
    for (const Case& c : cases) {
        SetupMachine fresh;
        fresh.version.info = versions::kWindows98;
        StartFrom(fresh, c.startedAs);
        fresh.processes.modulePath = c.module;
        fresh.Run("");
        EXPECT_EQ(fresh.log().Count("WinExec"), c.handsOver ? 1u : 0u)
            << c.startedAs << " against " << c.module;
    }
}

TEST_F(Startup, HandOverToAMissingSetupShowsNothing)
{
    OnWindows(versions::kWindows98);
    EXPECT_EQ(machine.Run("").exitCode, 0);  // whatever came of the hand-over
    EXPECT_EQ(HandOvers(), std::vector<std::string>{"D:\\Setup.exe show=5 (not found)"});
    EXPECT_TRUE(machine.desktop.MessageBoxes().empty());
}

TEST_F(Startup, UnconditionalStepsComeFirstInTheirOrder)
{
    OnWindows(versions::kWindows98);
    machine.registry.PutString(RootKey::CurrentUser, "Software\\Microsoft\\Multimedia\\Audio",
                               "SystemFormats", "CD Quality,Radio Quality,");
    machine.Run("");
    auto sequence = machine.log().Sequence(
        {"RegQueryValueExA", "RegDeleteValueA", "GetCurrentDirectoryA", "GetPrivateProfileIntA",
         "WritePrivateProfileStringA", "GetVersionExA", "WinExec"});
    std::vector<std::string> expected = {
        "RegQueryValueExA HKCU\\Software\\Microsoft\\Multimedia\\Audio SystemFormats size=1024",
        "RegDeleteValueA HKLM\\" + std::string(SetupMachine::kRunKey) + " PCI Audio Applications",
        "GetCurrentDirectoryA C:\\",
        "GetPrivateProfileIntA [InstallOption] DriverOnly D:\\setup.ini",
        "GetPrivateProfileIntA [InstallOption] WebSetup D:\\setup.ini",
        "GetPrivateProfileIntA [InstallOption] InstallWDMDriver D:\\setup.ini",
        "GetPrivateProfileIntA [Default] UsingCDDA D:\\setup.ini",
        "WritePrivateProfileStringA [CD PLAYER] UsingCDDA=0 C:\\WINDOWS\\QNCDPLAY.INI",
        "GetVersionExA",
        "WinExec D:\\Setup.exe show=5 (not found)",
    };
    EXPECT_EQ(sequence, expected);
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
}

TEST_F(Startup, PackageRunValueIsDeletedAtEveryStart)
{
    machine.registry.PutString(RootKey::LocalMachine, SetupMachine::kRunKey,
                               "PCI Audio Applications", "C:\\x.exe");
    machine.registry.PutString(RootKey::LocalMachine, SetupMachine::kRunKey, "Other", "y.exe");
    machine.InstallOption("WebSetup", 1);
    machine.Run("");
    EXPECT_FALSE(machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey,
                                        "PCI Audio Applications"));
    EXPECT_TRUE(machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey, "Other"));
}

TEST_F(Startup, RunKeyWithoutWriteAccessIsSkipped)
{
    machine.registry.PutString(RootKey::LocalMachine, SetupMachine::kRunKey,
                               "PCI Audio Applications", "C:\\x.exe");
    machine.registry.MakeReadOnly(RootKey::LocalMachine, SetupMachine::kRunKey);
    machine.InstallOption("WebSetup", 1);
    InstallerRun run = machine.Run("");
    EXPECT_FALSE(run.exited);
    EXPECT_TRUE(machine.registry.Value(RootKey::LocalMachine, SetupMachine::kRunKey,
                                       "PCI Audio Applications"));
    EXPECT_TRUE(machine.log().Details("RegDeleteValueA").empty());
}

TEST_F(Startup, WebSetupOneWithoutWdmDriverOnlyAdjustsAndEnds)
{
    machine.InstallOption("WebSetup", 1);
    machine.InstallOption("InstallWDMDriver", 0);
    machine.SetupIni("Default", "UsingCDDA", "1");
    InstallerRun run = machine.Run("/AP");  // ignored when WebSetup is set
    EXPECT_FALSE(run.exited);
    EXPECT_EQ(machine.profiles.Entry("QNCDPLAY.INI", "CD PLAYER", "UsingCDDA"), "1");
    EXPECT_TRUE(machine.desktop.MessageBoxes().empty());
    EXPECT_TRUE(machine.dialogs.Shown().empty());
    EXPECT_TRUE(machine.processes.Started().empty());
    EXPECT_TRUE(machine.log().Details("WinExec").empty());
    EXPECT_EQ(machine.log().Count("Enable3dControlsStatic"), 1u);
}

TEST_F(Startup, ApOnWindows2000RunsThePackageAndExitsWithZero)
{
    OnWindows(versions::kWindows2000);
    InstallerRun run = machine.Run("-ap");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(DriverNoticeShown());
    EXPECT_TRUE(machine.log().Details("WinExec").empty());
}

TEST_F(Startup, DriverRowsShowTheNoticeCloseTheMixerAndWaitWithTheCursor)
{
    struct Case {
        const char* commandLine;
        int driverOnly;
        int webSetup;
    };
    const Case driverRuns[] = {{"/DRIVER", 0, 0}, {"driver", 0, 0}, {"", 1, 0},
                               {"/AP", 0, 2}, {"", 0, 7}, {"/DRIVER", 1, -1}};
    for (const Case& c : driverRuns) {
        SetupMachine fresh;
        fresh.desktop.AddWindow("Mixer");
        fresh.InstallOption("DriverOnly", c.driverOnly);
        fresh.InstallOption("WebSetup", c.webSetup);
        driver_media::AddDriverPackage(fresh, "D:\\WIN_ME\\drv\\", "me");
        driver_media::AddDriverPackage(fresh, "D:\\", "web");
        driver_media::AnswerRestartPrompt(fresh, false);
        InstallerRun run = fresh.Run(c.commandLine);
        EXPECT_FALSE(run.exited) << c.commandLine;
        ASSERT_EQ(fresh.desktop.MessageBoxes().size(), 1u) << c.commandLine;
        const sim::SimMessageBox& notice = fresh.desktop.MessageBoxes()[0];
        EXPECT_EQ(notice.text, expected_text::kDriverNotice);
        EXPECT_EQ(notice.caption, "Setup");
        EXPECT_EQ(notice.flags, 0u);
        EXPECT_EQ(notice.owner, platform::kNoWindow);
        EXPECT_FALSE(fresh.desktop.IsOpen("Mixer"));
        // Notice, then the mixer closed, then the wait cursor, with no pause between.
        auto steps = fresh.log().Sequence({"MessageBoxA", "SendMessageA", "Sleep", "SleepEx",
                                           "BeginWaitCursor"});
        ASSERT_GE(steps.size(), 3u);
        EXPECT_EQ(steps[0], "MessageBoxA owner=none \"" + std::string(expected_text::kDriverNotice) +
                                "\" \"Setup\" 0x0");
        EXPECT_EQ(steps[1], "SendMessageA WM_CLOSE Mixer");
        EXPECT_EQ(steps[2], "BeginWaitCursor");
        EXPECT_EQ(fresh.log().Count("EndWaitCursor"), 1u);
        EXPECT_EQ(fresh.dialogs.WaitCursorDepth(), 0);
        EXPECT_EQ(fresh.dialogs.Shown(), std::vector<int>{132});
        // The variant runs inside the wait cursor: the cleanup's first scan,
        // the staging copy of its media folder and the restart prompt. The
        // command-line driver takes the XP folder, the silent web setup the
        // installer's own.
        const bool silentWeb = c.webSetup != 0;
        auto inside = fresh.log().Sequence({"BeginWaitCursor", "FindFirstFileA",
                                            "DialogBoxParamA", "EndWaitCursor"});
        ASSERT_GE(inside.size(), 4u) << c.commandLine;
        EXPECT_EQ(inside.front(), "BeginWaitCursor");
        EXPECT_EQ(inside[1], "FindFirstFileA C:\\WINDOWS\\INF\\OTHER\\*.INF");
        EXPECT_NE(std::find(inside.begin(), inside.end(),
                            silentWeb ? "FindFirstFileA D:\\*.*"
                                      : "FindFirstFileA D:\\WIN_ME\\drv\\*.*"),
                  inside.end())
            << c.commandLine;
        EXPECT_EQ(std::count(inside.begin(), inside.end(), "FindFirstFileA D:\\Dosdrv\\*.*"),
                  silentWeb ? 0 : 1);
        EXPECT_EQ(inside[inside.size() - 2], "DialogBoxParamA 132");
        EXPECT_EQ(inside.back(), "EndWaitCursor");
        // The 3-D controls belong to the dialog rows only: the silent web
        // setup passes through them, the command-line driver does not.
        EXPECT_EQ(fresh.log().Count("Enable3dControlsStatic"), c.webSetup == 0 ? 0u : 1u);
    }
}

TEST_F(Startup, DriverRowWithoutAMixerWindowSendsNothing)
{
    driver_media::AddDriverPackage(machine, "D:\\WIN_ME\\drv\\", "me");
    driver_media::AnswerRestartPrompt(machine, false);
    machine.Run("/DRIVER");
    EXPECT_TRUE(machine.log().Details("SendMessageA").empty());
    EXPECT_TRUE(DriverNoticeShown());
}

TEST_F(Startup, DialogRowsPassThroughTheThreeDControls)
{
    for (const char* commandLine : {"", "/AP /DRIVER", "/AP "}) {
        SetupMachine fresh;
        fresh.AddPackage();
        fresh.dialogs.Expect(102, [](sim::SimDialog& dialog) { dialog.PressCancel(); });
        InstallerRun run = fresh.Run(commandLine);
        EXPECT_FALSE(run.exited);
        EXPECT_EQ(fresh.log().Count("Enable3dControlsStatic"), 1u) << commandLine;
        EXPECT_TRUE(fresh.desktop.MessageBoxes().empty());
        EXPECT_EQ(fresh.dialogs.Shown(), std::vector<int>{102}) << commandLine;
    }
}

// While an option dialog runs it is the application's main window, without a parent.
void ExpectMainWindow(const sim::SimDialog& dialog)
{
    CSetupApp* app = RunningApplication();
    ASSERT_NE(app, nullptr);
    ASSERT_NE(app->m_pMainWnd, nullptr);
    EXPECT_EQ(app->m_pMainWnd->m_hWnd, dialog.Handle());
    EXPECT_EQ(dialog.Parent(), platform::kNoWindow);
}

TEST_F(Startup, MainOptionsDialogRunsAsTheMainWindow)
{
    machine.AddPackage();
    bool checked = false;
    machine.dialogs.Expect(IDD_SETUP_DIALOG, [&](sim::SimDialog& dialog) {
        ExpectMainWindow(dialog);
        checked = true;
        dialog.Click(IDC_INSTALL_DRIVER);
        dialog.PressOk();
    });
    InstallerRun run = machine.Run("");
    EXPECT_TRUE(checked);
    // The dialog's work ends the run normally: InitInstance returns.
    EXPECT_FALSE(run.exited);
    EXPECT_EQ(machine.log().Sequence({"Enable3dControlsStatic", "DialogBoxParamA", "EndDialog"}),
              (std::vector<std::string>{"Enable3dControlsStatic", "DialogBoxParamA 102",
                                        "EndDialog 102 1"}));
    ASSERT_EQ(machine.processes.Started().size(), 1u);
    EXPECT_EQ(machine.processes.Started()[0].commandLine, "D:\\W2K-ME\\app\\Setup.exe");
}

TEST_F(Startup, MainOptionsDialogWithoutThePackageEndsTheProcess)
{
    InstallerRun run = machine.Run("");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(machine.desktop.MessageBoxes().size(), 1u);
    EXPECT_EQ(machine.desktop.MessageBoxes()[0].text, expected_text::kMissingInstallationFiles);
}

TEST_F(Startup, WebSetupWithWdmDriverShowsTheWindows2000DialogWhateverTheCommandLine)
{
    for (const char* commandLine : {"", "/AP", "/DRIVER"}) {
        SetupMachine fresh;
        fresh.InstallOption("WebSetup", 1);
        fresh.InstallOption("InstallWDMDriver", 1);
        fresh.InstallOption("DriverOnly", 1);
        bool checked = false;
        fresh.dialogs.Expect(IDD_WIN2000_SETUP, [&](sim::SimDialog& dialog) {
            ExpectMainWindow(dialog);
            checked = true;
            dialog.PressEscape();
        });
        InstallerRun run = fresh.Run(commandLine);
        EXPECT_TRUE(checked) << commandLine;
        EXPECT_FALSE(run.exited);
        EXPECT_EQ(fresh.dialogs.Shown(), std::vector<int>{IDD_WIN2000_SETUP}) << commandLine;
        EXPECT_TRUE(fresh.desktop.MessageBoxes().empty());
        EXPECT_TRUE(fresh.processes.Started().empty());
    }
}

}  // namespace
