// The main installation-options dialog, driven by a scripted user.
#include <gtest/gtest.h>

#include "support/expected_texts.h"
#include "dialogs/setup_dlg.h"
#include "resources/resource.h"
#include "support/dialog_run.h"
#include "sim/windows_versions.h"
#include "support/setup_machine.h"

namespace {

using platform::RootKey;
using sim::SimDialog;

constexpr const char* kHandshake = "C:\\WINDOWS\\QNISETUP.INI";
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio Applications";

class MainDialog : public ::testing::Test {
protected:
    SetupMachine machine;
    DriverInstallRecorder recorder{machine};
    int result = -1;

    MainDialog() { machine.AddPackage(); }

    void User(std::function<void(SimDialog&)> script) {
        machine.dialogs.Expect(IDD_SETUP_DIALOG, std::move(script));
    }
    InstallerRun Run() {
        return RunInApplication(machine, [this](CWinApp& app) {
            CSetupDlg dialog(app);
            dialog.UseDriverInstaller(recorder.Installer());
            result = dialog.DoModal();
        });
    }
    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& box : machine.desktop.MessageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    bool PackageStarted() {
        for (const auto& started : machine.processes.Started()) {
            if (started.commandLine.find("app\\Setup.exe") != std::string::npos)
                return true;
        }
        return false;
    }
    // Wait text and check boxes are never on screen together.
    static void ExpectWorkingState(const SimDialog& dialog) {
        EXPECT_TRUE(dialog.ItemVisible(IDC_PLEASE_WAIT));
        EXPECT_FALSE(dialog.ItemVisible(IDC_INSTALL_APPLICATIONS));
        EXPECT_FALSE(dialog.ItemVisible(IDC_INSTALL_DRIVER));
    }
};

TEST_F(MainDialog, OpensWithBothBoxesCheckedTheAboutItemAndTheIcon)
{
    platform::WindowHandle seen{};
    User([&](SimDialog& dialog) {
        seen = dialog.Handle();
        EXPECT_TRUE(dialog.Visible());
        EXPECT_EQ(dialog.Parent(), platform::kNoWindow);
        EXPECT_EQ(dialog.Check(IDC_INSTALL_APPLICATIONS), 1);
        EXPECT_EQ(dialog.Check(IDC_INSTALL_DRIVER), 1);
        EXPECT_TRUE(dialog.ItemVisible(IDC_INSTALL_APPLICATIONS));
        EXPECT_TRUE(dialog.ItemVisible(IDC_INSTALL_DRIVER));
        EXPECT_FALSE(dialog.ItemVisible(IDC_PLEASE_WAIT));
        EXPECT_TRUE(dialog.ItemEnabled(platform::kIdOk));
        EXPECT_EQ(dialog.Focus(), platform::kIdOk);  // the first tab stop
        EXPECT_EQ(dialog.SystemMenuItems(),
                  (std::vector<std::pair<unsigned, std::string>>{{0, ""},
                                                                 {0x10, "&About Setup..."}}));
        EXPECT_EQ(dialog.BigIcon(), machine.dialogs.LoadAppIcon(IDR_MAINFRAME));
        EXPECT_EQ(dialog.SmallIcon(), dialog.BigIcon());
        EXPECT_NE(dialog.BigIcon(), platform::IconHandle::None);
        EXPECT_EQ(dialog.DragIcon(), dialog.BigIcon());
        dialog.PressCancel();
    });
    InstallerRun run = Run();
    EXPECT_FALSE(run.exited);
    EXPECT_EQ(result, platform::kIdCancel);
    EXPECT_EQ(machine.log().Details("WM_SETICON"),
              (std::vector<std::string>{"ICON_BIG", "ICON_SMALL"}));
    EXPECT_EQ(machine.log().Details("BM_SETCHECK"),
              (std::vector<std::string>{"1001 1", "1002 1"}));
    // The package probe leaves its folder current.
    EXPECT_EQ(machine.files.Current(), "D:\\W2K-ME");
}

TEST_F(MainDialog, AboutItemNeedsASystemMenuAndItsText)
{
    machine.dialogs.strings.erase(IDS_ABOUTBOX);
    User([](SimDialog& dialog) {
        EXPECT_TRUE(dialog.SystemMenuItems().empty());
        dialog.PressCancel();
    });
    Run();

    SetupMachine noMenu;
    noMenu.AddPackage();
    noMenu.dialogs.Layout(IDD_SETUP_DIALOG).systemMenu = false;
    noMenu.dialogs.Expect(IDD_SETUP_DIALOG, [](SimDialog& dialog) {
        EXPECT_TRUE(dialog.SystemMenuItems().empty());
        dialog.CloseBox();
    });
    RunInApplication(noMenu, [](CWinApp& app) { CSetupDlg(app).DoModal(); });
    EXPECT_EQ(noMenu.dialogs.Shown(), std::vector<int>{IDD_SETUP_DIALOG});
}

TEST_F(MainDialog, OkIsEnabledWhileAtLeastOneBoxIsChecked)
{
    User([](SimDialog& dialog) {
        dialog.Click(IDC_INSTALL_APPLICATIONS);
        EXPECT_TRUE(dialog.ItemEnabled(platform::kIdOk));
        dialog.Click(IDC_INSTALL_DRIVER);
        EXPECT_FALSE(dialog.ItemEnabled(platform::kIdOk));
        dialog.Click(IDC_INSTALL_DRIVER);
        EXPECT_TRUE(dialog.ItemEnabled(platform::kIdOk));
        dialog.Click(IDC_INSTALL_DRIVER);
        EXPECT_FALSE(dialog.ItemEnabled(platform::kIdOk));
        dialog.Click(IDC_INSTALL_APPLICATIONS);
        EXPECT_TRUE(dialog.ItemEnabled(platform::kIdOk));
        dialog.Click(IDC_INSTALL_DRIVER);
        EXPECT_TRUE(dialog.ItemEnabled(platform::kIdOk));
        dialog.PressCancel();
    });
    Run();
    EXPECT_EQ(result, platform::kIdCancel);
    EXPECT_TRUE(machine.processes.Started().empty());
}

TEST_F(MainDialog, MissingPackageEndsTheProgramBeforeTheDialogShows)
{
    // Nothing at all, or files in the W2K-ME folder but not its setup program
    // (the older WIN_ME package does not count then).
    for (const char* present : {"", "D:\\W2K-ME\\drv\\QNAUDIO.INF", "D:\\W2K-ME\\app\\Readme.txt"}) {
        SetupMachine fresh;
        if (*present)
            fresh.files.AddFile(present, "x");
        fresh.files.AddFile("D:\\WIN_ME\\app\\Setup.exe", "older package");
        if (!*present)
            fresh.files.Erase("D:\\WIN_ME\\app\\Setup.exe");
        bool visibleAtMessage = true;
        fresh.desktop.onMessageBox = [&](const sim::SimMessageBox&) {
            visibleAtMessage = fresh.dialogs.Running(IDD_SETUP_DIALOG)->Visible();
        };
        InstallerRun run =
            RunInApplication(fresh, [](CWinApp& app) { CSetupDlg(app).DoModal(); });
        EXPECT_TRUE(run.exited) << present;
        EXPECT_EQ(run.exitCode, 0);
        ASSERT_EQ(fresh.desktop.MessageBoxes().size(), 1u);
        const sim::SimMessageBox& box = fresh.desktop.MessageBoxes()[0];
        EXPECT_EQ(box.text, expected_text::kMissingInstallationFiles);
        EXPECT_EQ(box.caption, "Setup");
        EXPECT_EQ(box.flags, platform::kMessageBoxOk);
        EXPECT_NE(box.owner, platform::kNoWindow);
        EXPECT_FALSE(visibleAtMessage) << present;
    }
}

TEST_F(MainDialog, OlderPackageFolderIsUsedWithoutW2kMe)
{
    SetupMachine fresh;
    fresh.files.AddFile("D:\\WIN_ME\\app\\Setup.exe", "older package");
    fresh.dialogs.Expect(IDD_SETUP_DIALOG, [](SimDialog& dialog) {
        dialog.Click(IDC_INSTALL_DRIVER);
        dialog.PressOk();
    });
    InstallerRun run = RunInApplication(fresh, [](CWinApp& app) { CSetupDlg(app).DoModal(); });
    EXPECT_FALSE(run.exited);
    ASSERT_EQ(fresh.processes.Started().size(), 1u);
    EXPECT_EQ(fresh.processes.Started()[0].commandLine, "D:\\WIN_ME\\app\\Setup.exe");
    EXPECT_EQ(fresh.processes.Started()[0].currentDirectory, "C:\\");
}

TEST_F(MainDialog, BothBoxesWithThePackageInstallOnlyTheApplications)
{
    machine.files.AddFile("C:\\UNINST.EXE", "uninstaller");
    machine.registry.PutString(RootKey::LocalMachine, kUninstallKey, "UninstallString",
                               "C:\\UNINST.EXE");
    machine.processes.Define("C:\\UNINST.EXE", {3000, 0, false, 0, {}});
    platform::WindowHandle handle{};
    User([&](SimDialog& dialog) {
        handle = dialog.Handle();
        dialog.PressOk();
        ExpectWorkingState(dialog);
        EXPECT_FALSE(dialog.Visible());
    });
    Run();
    EXPECT_EQ(result, platform::kIdOk);
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_TRUE(machine.desktop.MessageBoxes().empty());
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_Reboot", "Install"), "NO");
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_InstallDriver", "Install"), "YES");
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_InstallDriver", "Command"),
              "D:\\Setup.exe");

    auto steps = machine.log().Sequence({"RedrawWindow", "Sleep", "CreateProcessA", "ShowWindow",
                                         "WritePrivateProfileStringA", "EndDialog"});
    std::vector<std::string> expected = {
        "ShowWindow 102:1003 SW_HIDE",  // while the dialog starts
        "ShowWindow 102:1001 SW_HIDE",
        "ShowWindow 102:1002 SW_HIDE",
        "ShowWindow 102:1003 SW_SHOW",
        "RedrawWindow 1003 0x105",
        "Sleep 200",
        "Sleep 500",  // after the audio applications were looked for
        "CreateProcessA C:\\UNINST.EXE -a show=5",
        "ShowWindow 102 SW_HIDE",
        std::string("WritePrivateProfileStringA [Need_To_Reboot] Install=NO ") + kHandshake,
        std::string("WritePrivateProfileStringA [Need_To_InstallDriver] Install=YES ") + kHandshake,
        std::string("WritePrivateProfileStringA [Need_To_InstallDriver] Command=D:\\Setup.exe ") +
            kHandshake,
        "CreateProcessA D:\\W2K-ME\\app\\Setup.exe show=5",
        "EndDialog 102 1",
    };
    EXPECT_EQ(steps, expected);
    // The dialog is hidden only once the uninstaller has ended.
    for (const sim::SimCall& call : machine.log().Calls()) {
        if (call.function == "ShowWindow" && call.detail == "102 SW_HIDE") {
            EXPECT_EQ(call.time, 200u + 500u + 3000u);
        }
    }
    EXPECT_EQ(machine.processes.Started().back().currentDirectory, "D:\\W2K-ME");
}

TEST_F(MainDialog, ApplicationsOnlyLeaveNoDriverRequest)
{
    User([](SimDialog& dialog) {
        dialog.Click(IDC_INSTALL_DRIVER);
        dialog.PressOk();
    });
    Run();
    EXPECT_EQ(result, platform::kIdOk);
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_TRUE(PackageStarted());
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_InstallDriver", "Install"), "NO");
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_InstallDriver", "Command"), "");
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_Reboot", "Install"), "NO");
}

TEST_F(MainDialog, ClosesTheSuiteOrElseThePlayersBeforeTheUninstall)
{
    for (bool suite : {true, false}) {
        SetupMachine fresh;
        fresh.AddPackage();
        if (suite)
            fresh.desktop.AddWindow("TuneStack");
        fresh.desktop.AddWindow("CD Player");
        fresh.desktop.AddWindow("MP3 Player");
        fresh.desktop.AddWindow("Mixer");
        fresh.dialogs.Expect(IDD_SETUP_DIALOG, [](SimDialog& dialog) { dialog.PressOk(); });
        RunInApplication(fresh, [](CWinApp& app) { CSetupDlg(app).DoModal(); });
        EXPECT_EQ(fresh.desktop.IsOpen("TuneStack"), false);
        EXPECT_EQ(fresh.desktop.IsOpen("CD Player"), suite);
        EXPECT_EQ(fresh.desktop.IsOpen("MP3 Player"), suite);
        EXPECT_TRUE(fresh.desktop.IsOpen("Mixer"));
        std::vector<std::uint32_t> expected = {200, 500};
        if (suite)
            expected.push_back(500);  // the suite gets a pause of its own
        EXPECT_EQ(fresh.clock.Pauses(), expected);
    }
}

TEST_F(MainDialog, BothBoxesWithThePackageGoneAtOkInstallTheDriver)
{
    platform::WindowHandle handle{};
    User([&](SimDialog& dialog) {
        handle = dialog.Handle();
        machine.files.Erase("D:\\W2K-ME\\app\\Setup.exe");  // the media was changed
        dialog.PressOk();
    });
    recorder.during = [&](const DriverInstallRequest&) {
        EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 1);
        EXPECT_FALSE(machine.dialogs.Running(IDD_SETUP_DIALOG)->Visible());
    };
    Run();
    EXPECT_EQ(result, platform::kIdOk);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{expected_text::kMissingPackageSetup, expected_text::kDriverNotice}));
    for (const auto& box : machine.desktop.MessageBoxes()) {
        EXPECT_EQ(box.owner, handle);
        EXPECT_EQ(box.caption, "Setup");
        EXPECT_EQ(box.flags, platform::kMessageBoxOk);
    }
    ASSERT_EQ(recorder.requests.size(), 1u);
    const DriverInstallRequest& request = recorder.requests[0];
    EXPECT_EQ(request.variant, DriverInstallVariant::MainDialog);
    EXPECT_EQ(request.owner, handle);
    EXPECT_EQ(request.sourceDir, "D:\\");
    EXPECT_TRUE(request.windowsXP);
    EXPECT_EQ(request.infOptions, nullptr);
    EXPECT_FALSE(machine.files.Exists(kHandshake));
    EXPECT_FALSE(PackageStarted());
    EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 0);
    // The restart prompt follows the installation under the wait cursor.
    EXPECT_EQ(machine.log().Sequence({"MessageBoxA", "BeginWaitCursor", "RunDriverInstallation",
                                      "DialogBoxParamA", "EndWaitCursor", "EndDialog"}),
              (std::vector<std::string>{
                  "DialogBoxParamA 102",
                  "MessageBoxA owner=dialog \"" + std::string(expected_text::kMissingPackageSetup) +
                      "\" \"Setup\" 0x0",
                  "MessageBoxA owner=dialog \"" + std::string(expected_text::kDriverNotice) + "\" \"Setup\" 0x0",
                  "BeginWaitCursor", "RunDriverInstallation MainDialog", "DialogBoxParamA 132",
                  "EndDialog 132 1", "EndWaitCursor", "EndDialog 102 1"}));
}

TEST_F(MainDialog, ApplicationsOnlyWithThePackageGoneInstallNothing)
{
    User([&](SimDialog& dialog) {
        dialog.Click(IDC_INSTALL_DRIVER);
        machine.files.Erase("D:\\W2K-ME\\app\\Setup.exe");
        dialog.PressOk();
    });
    Run();
    EXPECT_EQ(result, platform::kIdOk);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{expected_text::kMissingPackageSetup});
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_FALSE(machine.files.Exists(kHandshake));
    EXPECT_TRUE(machine.processes.Started().empty());
}

TEST_F(MainDialog, DriverOnlyKeepsTheDialogUpWithPleaseWait)
{
    machine.desktop.AddWindow("TuneStack");
    machine.desktop.AddWindow("Mixer");
    bool checkedDuring = false;
    platform::WindowHandle handle{};
    User([&](SimDialog& dialog) {
        handle = dialog.Handle();
        dialog.Click(IDC_INSTALL_APPLICATIONS);
        dialog.PressOk();
    });
    recorder.during = [&](const DriverInstallRequest& request) {
        SimDialog* dialog = machine.dialogs.Running(IDD_SETUP_DIALOG);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(request.owner, dialog->Handle());
        EXPECT_TRUE(dialog->Visible());
        ExpectWorkingState(*dialog);
        EXPECT_EQ(dialog->Redraws(IDC_PLEASE_WAIT), 1);
        EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 1);
        checkedDuring = true;
    };
    Run();
    EXPECT_TRUE(checkedDuring);
    EXPECT_EQ(result, platform::kIdOk);
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].variant, DriverInstallVariant::MainDialog);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{expected_text::kDriverNotice});
    EXPECT_EQ(machine.desktop.MessageBoxes()[0].owner, handle);
    // Nothing of the package: no window closed, no uninstall looked for, no handshake.
    EXPECT_TRUE(machine.desktop.IsOpen("TuneStack"));
    EXPECT_TRUE(machine.desktop.IsOpen("Mixer"));
    EXPECT_EQ(machine.log().Count("RegOpenKeyExA"), 0u);
    EXPECT_FALSE(machine.files.Exists(kHandshake));
    // Only the boxes and the wait text change; the dialog itself stays up.
    EXPECT_EQ(machine.log().Details("ShowWindow"),
              (std::vector<std::string>{"102:1003 SW_HIDE", "102:1001 SW_HIDE",
                                        "102:1002 SW_HIDE", "102:1003 SW_SHOW"}));
    EXPECT_EQ(machine.log().Sequence({"RedrawWindow", "Sleep", "MessageBoxA"}).size(), 3u);
}

TEST_F(MainDialog, DriverRequestCarriesTheDialogsOwnXpFlag)
{
    for (auto version : {versions::kWindows2000, versions::kWindowsXp, versions::kWindows7}) {
        SetupMachine fresh;
        fresh.AddPackage();
        fresh.version.info = version;
        DriverInstallRecorder freshRecorder(fresh);
        fresh.dialogs.Expect(IDD_SETUP_DIALOG, [](SimDialog& dialog) {
            dialog.Click(IDC_INSTALL_APPLICATIONS);
            dialog.PressOk();
        });
        RunInApplication(fresh, [&](CWinApp& app) {
            CSetupDlg dialog(app);
            dialog.UseDriverInstaller(freshRecorder.Installer());
            dialog.DoModal();
        });
        ASSERT_EQ(freshRecorder.requests.size(), 1u);
        EXPECT_EQ(freshRecorder.requests[0].windowsXP, version.buildNumber >= 2600);
        EXPECT_EQ(fresh.log().Count("GetVersionExA"), 1u);
    }
}

// OK with both boxes cleared is a cancel too. The boxes' clicks disable OK,
// but another program may clear them with BM_SETCHECK, which sends no
// BN_CLICKED and so leaves OK enabled.
TEST_F(MainDialog, CancelEscapeTheCloseBoxAndOkWithNothingCheckedDoNothing)
{
    const std::function<void(SetupMachine&, SimDialog&)> endings[] = {
        [](SetupMachine&, SimDialog& dialog) { dialog.PressCancel(); },
        [](SetupMachine&, SimDialog& dialog) { dialog.PressEscape(); },
        [](SetupMachine&, SimDialog& dialog) { dialog.CloseBox(); },
        [](SetupMachine& m, SimDialog& dialog) {
            m.dialogs.SetCheck(dialog.Handle(), IDC_INSTALL_APPLICATIONS, 0);
            m.dialogs.SetCheck(dialog.Handle(), IDC_INSTALL_DRIVER, 0);
            dialog.PressOk();
        },
    };
    for (const auto& ending : endings) {
        SetupMachine fresh;
        fresh.AddPackage();
        fresh.desktop.AddWindow("CD Player");
        DriverInstallRecorder freshRecorder(fresh);
        fresh.dialogs.Expect(IDD_SETUP_DIALOG,
                             [&](SimDialog& dialog) { ending(fresh, dialog); });
        int outcome = 0;
        InstallerRun run = RunInApplication(fresh, [&](CWinApp& app) {
            CSetupDlg dialog(app);
            dialog.UseDriverInstaller(freshRecorder.Installer());
            outcome = dialog.DoModal();
        });
        EXPECT_FALSE(run.exited);
        EXPECT_EQ(outcome, platform::kIdCancel);
        EXPECT_TRUE(freshRecorder.requests.empty());
        EXPECT_TRUE(fresh.processes.Started().empty());
        EXPECT_TRUE(fresh.desktop.IsOpen("CD Player"));
        EXPECT_FALSE(fresh.files.Exists(kHandshake));
        EXPECT_TRUE(fresh.desktop.MessageBoxes().empty());
        EXPECT_EQ(fresh.clock.Pauses(), std::vector<std::uint32_t>{});
    }
}

TEST_F(MainDialog, AboutItemOpensTheAboutBoxAndOtherCommandsAreTheSystems)
{
    machine.dialogs.Expect(IDD_ABOUTBOX, [](SimDialog& about) {
        EXPECT_EQ(about.Parent(), platform::kNoWindow);
        about.PressOk();
    });
    machine.dialogs.Expect(IDD_ABOUTBOX, [](SimDialog& about) { about.PressEscape(); });
    machine.dialogs.Expect(IDD_ABOUTBOX, [](SimDialog& about) { about.CloseBox(); });
    User([&](SimDialog& dialog) {
        dialog.SystemCommand(IDM_ABOUTBOX);
        dialog.SystemCommand(IDM_ABOUTBOX | 0x3);  // the low four bits do not count
        dialog.SystemCommand(IDM_ABOUTBOX);
        EXPECT_FALSE(dialog.Ended());
        EXPECT_TRUE(dialog.DefaultSysCommands().empty());
        EXPECT_EQ(dialog.Check(IDC_INSTALL_APPLICATIONS), 1);

        dialog.SystemCommand(platform::kSysCommandMinimise);
        EXPECT_TRUE(dialog.Minimised());
        dialog.SystemCommand(platform::kSysCommandRestore);
        EXPECT_FALSE(dialog.Minimised());
        dialog.SystemCommand(0x20);  // an id of no item: the system's business
        EXPECT_EQ(dialog.DefaultSysCommands(),
                  (std::vector<unsigned>{platform::kSysCommandMinimise,
                                         platform::kSysCommandRestore, 0x20}));
        EXPECT_FALSE(dialog.Ended());
        dialog.CloseBox();
    });
    Run();
    EXPECT_EQ(machine.dialogs.Shown(),
              (std::vector<int>{IDD_SETUP_DIALOG, IDD_ABOUTBOX, IDD_ABOUTBOX, IDD_ABOUTBOX}));
    EXPECT_EQ(result, platform::kIdCancel);
    EXPECT_TRUE(machine.processes.Started().empty());
}

TEST_F(MainDialog, MinimisedDialogPaintsItsIconCentred)
{
    struct Case {
        platform::Size client;
        platform::Size icon;
        int x;
        int y;
    };
    // Divisions truncate toward zero, also when the client area is smaller
    // than the icon.
    const Case cases[] = {
        {{338, 207}, {32, 32}, 153, 88},
        {{337, 206}, {32, 32}, 153, 87},
        {{160, 0}, {32, 32}, 64, -15},
        {{20, 2}, {48, 48}, -13, -22},
    };
    for (const Case& c : cases) {
        SetupMachine fresh;
        fresh.AddPackage();
        fresh.dialogs.iconMetrics = c.icon;
        fresh.dialogs.Layout(IDD_SETUP_DIALOG).clientSize = c.client;
        fresh.dialogs.Expect(IDD_SETUP_DIALOG, [&](SimDialog& dialog) {
            dialog.Repaint();
            EXPECT_EQ(dialog.DefaultPaints(), 1);
            EXPECT_TRUE(dialog.DrawnIcons().empty());

            dialog.SystemCommand(platform::kSysCommandMinimise);
            fresh.log().Clear();
            dialog.Repaint();
            EXPECT_EQ(dialog.DefaultPaints(), 1);
            EXPECT_EQ(dialog.IconBackgroundErases(), 1);
            ASSERT_EQ(dialog.DrawnIcons().size(), 1u);
            EXPECT_EQ(dialog.DrawnIcons()[0].x, c.x);
            EXPECT_EQ(dialog.DrawnIcons()[0].y, c.y);
            EXPECT_EQ(dialog.DrawnIcons()[0].icon, dialog.BigIcon());
            EXPECT_EQ(fresh.log().Sequence({"BeginPaint", "SendMessageA", "DrawIcon", "EndPaint"}),
                      (std::vector<std::string>{"BeginPaint", "SendMessageA WM_ICONERASEBKGND",
                                                "DrawIcon " + std::to_string(c.x) + "," +
                                                    std::to_string(c.y),
                                                "EndPaint"}));
            dialog.PressCancel();
        });
        RunInApplication(fresh, [](CWinApp& app) { CSetupDlg(app).DoModal(); });
    }
}

}  // namespace
