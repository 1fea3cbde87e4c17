// The Windows 2000/XP driver options dialog, driven by a scripted user.
#include <gtest/gtest.h>

#include "support/expected_texts.h"
#include "dialogs/win2000_setup_dlg.h"
#include "resources/resource.h"
#include "support/dialog_run.h"
#include "support/setup_machine.h"

namespace {

using sim::SimDialog;

// The options as the INF patching reads them during the installation.
struct Options {
    bool legacy = false;
    bool soundCard = false;
    bool rear = false;
    bool centre = false;
    bool microphone = false;

    // The values the patching writes: "JackConfig" from the jack choices,
    // "EnableLegacy" 2 or, with nothing asked for, the INF's own (-1 here).
    int JackConfig() const {
        return soundCard ? 0 : (rear ? 1 : 0) + (centre ? 2 : 0) + (microphone ? 4 : 0);
    }
    int EnableLegacy() const { return legacy ? 2 : -1; }
};

Options Read(InfOptionStates& states)
{
    Options options;
    options.legacy = states.LegacyDeviceDisabled();
    options.soundCard = states.SoundCardChosen();
    options.rear = states.LineInSharesRear();
    options.centre = states.LineInSharesCentre();
    options.microphone = states.MicrophoneSharesSubwoofer();
    return options;
}

// Check states of the five choices, as the user sees them.
std::string Shown(const SimDialog& dialog)
{
    std::string text;
    for (int id : {IDC_ON_MOTHERBOARD, IDC_ON_SOUND_CARD, IDC_LINE_IN_REAR, IDC_LINE_IN_CENTRE,
                   IDC_MIC_SUBWOOFER})
        text += dialog.Check(id) ? '1' : '0';
    return text;
}

class Win2000Dialog : public ::testing::Test {
protected:
    SetupMachine machine;
    DriverInstallRecorder recorder{machine};
    std::vector<Options> patched;  // the options at each installation
    int result = -1;

    Win2000Dialog() {
        recorder.during = [this](const DriverInstallRequest& request) {
            ASSERT_NE(request.infOptions, nullptr);
            patched.push_back(Read(*request.infOptions));
        };
    }
    void User(std::function<void(SimDialog&)> script) {
        machine.dialogs.Expect(IDD_WIN2000_SETUP, std::move(script));
    }
    InstallerRun Run() {
        return RunInApplication(machine, [this](CWinApp& app) {
            CWin2000SetupDlg dialog(app.os());
            dialog.UseDriverInstaller(recorder.Installer());
            result = dialog.DoModal();
        });
    }
    // Runs the dialog with these clicks and then "Install"; the options the
    // installation saw.
    Options InstallAfter(const std::vector<int>& clicks) {
        SetupMachine fresh;
        DriverInstallRecorder freshRecorder(fresh);
        Options seen;
        freshRecorder.during = [&](const DriverInstallRequest& request) {
            seen = Read(*request.infOptions);
        };
        fresh.dialogs.Expect(IDD_WIN2000_SETUP, [&](SimDialog& dialog) {
            for (int id : clicks)
                dialog.Click(id);
            dialog.PressOk();
        });
        RunInApplication(fresh, [&](CWinApp& app) {
            CWin2000SetupDlg dialog(app.os());
            dialog.UseDriverInstaller(freshRecorder.Installer());
            dialog.DoModal();
        });
        EXPECT_EQ(freshRecorder.requests.size(), 1u);
        return seen;
    }
};

TEST_F(Win2000Dialog, OpensWithTheMotherboardDefaults)
{
    User([](SimDialog& dialog) {
        EXPECT_TRUE(dialog.Visible());
        EXPECT_EQ(dialog.Parent(), platform::kNoWindow);
        EXPECT_EQ(dialog.Focus(), platform::kIdOk);  // "Install", the first tab stop
        EXPECT_EQ(Shown(dialog), "10100");
        EXPECT_EQ(dialog.Check(IDC_DISABLE_LEGACY), 0);
        for (int id : {IDC_LINE_IN_REAR, IDC_LINE_IN_CENTRE, IDC_MIC_SUBWOOFER})
            EXPECT_TRUE(dialog.ItemEnabled(id));
        EXPECT_TRUE(dialog.SystemMenuItems().empty());  // no about item here
        EXPECT_EQ(dialog.BigIcon(), platform::IconHandle::None);
        dialog.PressCancel();
    });
    Run();
    EXPECT_EQ(machine.log().Details("BM_SETCHECK"),
              (std::vector<std::string>{"1006 1", "1007 0", "1011 1", "1012 0", "1013 0"}));
    EXPECT_EQ(result, platform::kIdCancel);
}

TEST_F(Win2000Dialog, ClickRulesKeepTheChoicesConsistent)
{
    User([](SimDialog& dialog) {
        // A checked jack box stays checked when clicked again.
        dialog.Click(IDC_LINE_IN_REAR);
        EXPECT_EQ(Shown(dialog), "10100");
        // Microphone-subwoofer and line-in-rear can share.
        dialog.Click(IDC_MIC_SUBWOOFER);
        EXPECT_EQ(Shown(dialog), "10101");
        dialog.Click(IDC_MIC_SUBWOOFER);
        EXPECT_EQ(Shown(dialog), "10101");
        // Line-in-centre excludes both.
        dialog.Click(IDC_LINE_IN_CENTRE);
        EXPECT_EQ(Shown(dialog), "10010");
        dialog.Click(IDC_LINE_IN_CENTRE);
        EXPECT_EQ(Shown(dialog), "10010");
        dialog.Click(IDC_LINE_IN_REAR);
        EXPECT_EQ(Shown(dialog), "10100");
        dialog.Click(IDC_LINE_IN_CENTRE);
        dialog.Click(IDC_MIC_SUBWOOFER);
        EXPECT_EQ(Shown(dialog), "10001");

        // The sound card disables the jack boxes and keeps their states.
        dialog.Click(IDC_ON_SOUND_CARD);
        EXPECT_EQ(Shown(dialog), "01001");
        for (int id : {IDC_LINE_IN_REAR, IDC_LINE_IN_CENTRE, IDC_MIC_SUBWOOFER})
            EXPECT_FALSE(dialog.ItemEnabled(id));
        EXPECT_THROW(dialog.Click(IDC_LINE_IN_REAR), sim::SimScriptError);
        // Radio buttons in groups of their own: the handlers keep one checked.
        dialog.Click(IDC_ON_SOUND_CARD);
        EXPECT_EQ(Shown(dialog), "01001");
        dialog.Click(IDC_ON_MOTHERBOARD);
        EXPECT_EQ(Shown(dialog), "10001");
        for (int id : {IDC_LINE_IN_REAR, IDC_LINE_IN_CENTRE, IDC_MIC_SUBWOOFER})
            EXPECT_TRUE(dialog.ItemEnabled(id));
        dialog.Click(IDC_ON_MOTHERBOARD);
        EXPECT_EQ(Shown(dialog), "10001");

        // The legacy box is a plain check box.
        dialog.Click(IDC_DISABLE_LEGACY);
        EXPECT_EQ(dialog.Check(IDC_DISABLE_LEGACY), 1);
        dialog.Click(IDC_DISABLE_LEGACY);
        EXPECT_EQ(dialog.Check(IDC_DISABLE_LEGACY), 0);
        dialog.PressCancel();
    });
    Run();
    EXPECT_TRUE(recorder.requests.empty());
}

TEST_F(Win2000Dialog, EveryJackConfigurationTheDialogCanProduceReachesTheInstallation)
{
    struct Case {
        std::vector<int> clicks;
        int jackConfig;
    };
    const Case cases[] = {
        {{}, 1},
        {{IDC_MIC_SUBWOOFER}, 5},
        {{IDC_MIC_SUBWOOFER, IDC_LINE_IN_CENTRE}, 2},
        {{IDC_LINE_IN_CENTRE, IDC_MIC_SUBWOOFER}, 4},
        {{IDC_ON_SOUND_CARD}, 0},
        {{IDC_MIC_SUBWOOFER, IDC_ON_SOUND_CARD}, 0},
        {{IDC_LINE_IN_CENTRE, IDC_ON_SOUND_CARD, IDC_ON_MOTHERBOARD}, 2},
    };
    for (const Case& c : cases) {
        Options options = InstallAfter(c.clicks);
        EXPECT_EQ(options.JackConfig(), c.jackConfig) << c.clicks.size() << " clicks";
        EXPECT_EQ(options.EnableLegacy(), -1);
    }
    EXPECT_EQ(InstallAfter({IDC_DISABLE_LEGACY}).EnableLegacy(), 2);
    EXPECT_EQ(InstallAfter({IDC_DISABLE_LEGACY, IDC_ON_SOUND_CARD}).JackConfig(), 0);
    EXPECT_EQ(InstallAfter({IDC_DISABLE_LEGACY, IDC_DISABLE_LEGACY}).EnableLegacy(), -1);
}

TEST_F(Win2000Dialog, InstallShowsTheNoticeHidesTheDialogAndWaitsWithTheCursor)
{
    machine.desktop.AddWindow("TuneStack");
    platform::WindowHandle handle{};
    bool visibleAtNotice = false;
    machine.desktop.onMessageBox = [&](const sim::SimMessageBox&) {
        visibleAtNotice = machine.dialogs.Running(IDD_WIN2000_SETUP)->Visible();
    };
    User([&](SimDialog& dialog) {
        handle = dialog.Handle();
        dialog.Click(IDC_MIC_SUBWOOFER);
        dialog.PressOk();
    });
    bool checkedDuring = false;
    recorder.during = [&](const DriverInstallRequest& request) {
        SimDialog* dialog = machine.dialogs.Running(IDD_WIN2000_SETUP);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->Visible());
        EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 1);
        patched.push_back(Read(*request.infOptions));
        checkedDuring = true;
    };
    Run();
    EXPECT_TRUE(checkedDuring);
    EXPECT_TRUE(visibleAtNotice);
    EXPECT_EQ(result, platform::kIdOk);
    ASSERT_EQ(machine.desktop.MessageBoxes().size(), 1u);
    const sim::SimMessageBox& notice = machine.desktop.MessageBoxes()[0];
    EXPECT_EQ(notice.text, expected_text::kDriverNotice);
    EXPECT_EQ(notice.caption, "Setup");
    EXPECT_EQ(notice.flags, platform::kMessageBoxOk);
    EXPECT_EQ(notice.owner, handle);

    ASSERT_EQ(recorder.requests.size(), 1u);
    const DriverInstallRequest& request = recorder.requests[0];
    EXPECT_EQ(request.variant, DriverInstallVariant::Win2000Dialog);
    EXPECT_EQ(request.owner, handle);
    EXPECT_EQ(request.sourceDir, "D:\\");
    ASSERT_EQ(patched.size(), 1u);
    EXPECT_EQ(patched[0].JackConfig(), 5);

    EXPECT_EQ(machine.log().Sequence({"MessageBoxA", "ShowWindow", "BeginWaitCursor",
                                      "RunDriverInstallation", "DialogBoxParamA", "EndDialog",
                                      "EndWaitCursor"}),
              (std::vector<std::string>{
                  "DialogBoxParamA 131",
                  "MessageBoxA owner=dialog \"" + std::string(expected_text::kDriverNotice) + "\" \"Setup\" 0x0",
                  "ShowWindow 131 SW_HIDE", "BeginWaitCursor", "RunDriverInstallation Win2000Dialog",
                  "DialogBoxParamA 132", "EndDialog 132 1", "EndDialog 131 1", "EndWaitCursor"}));
    EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 0);
    // The dialog itself closes no window: that is the installation's first step.
    EXPECT_TRUE(machine.desktop.IsOpen("TuneStack"));
}

TEST_F(Win2000Dialog, SourceDirIsTheDialogsOwnFromTheProgramName)
{
    machine.files.AddFile("E:\\Web Setup\\W2KSetup.exe", "installer");
    StartFrom(machine, "\\Web Setup\\W2KSetup.exe");
    machine.files.SetCurrent("E:\\TEMP");
    User([](SimDialog& dialog) { dialog.PressOk(); });
    Run();
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].sourceDir, "E:\\Web Setup\\");
}

TEST_F(Win2000Dialog, CancelEscapeAndTheCloseBoxInstallNothing)
{
    const std::function<void(SimDialog&)> endings[] = {
        [](SimDialog& dialog) { dialog.PressCancel(); },
        [](SimDialog& dialog) { dialog.PressEscape(); },
        [](SimDialog& dialog) {
            dialog.Click(IDC_DISABLE_LEGACY);
            dialog.CloseBox();
        },
    };
    for (const auto& ending : endings) {
        SetupMachine fresh;
        fresh.files.AddFile("D:\\QNAUDIO.INF", "inf");
        DriverInstallRecorder freshRecorder(fresh);
        fresh.dialogs.Expect(IDD_WIN2000_SETUP, ending);
        int outcome = 0;
        RunInApplication(fresh, [&](CWinApp& app) {
            CWin2000SetupDlg dialog(app.os());
            dialog.UseDriverInstaller(freshRecorder.Installer());
            outcome = dialog.DoModal();
        });
        EXPECT_EQ(outcome, platform::kIdCancel);
        EXPECT_TRUE(freshRecorder.requests.empty());
        EXPECT_TRUE(fresh.desktop.MessageBoxes().empty());
        EXPECT_EQ(fresh.log().Count("CopyFileA"), 0u);
        EXPECT_EQ(fresh.log().Count("BeginWaitCursor"), 0u);
    }
}

}  // namespace
