// The caller's side of every driver installation: the notice, the caller's
// own steps of its variant, the wait cursor, then the restart prompt.
#include <gtest/gtest.h>

#include "dialogs/driver_setup.h"
#include "framework/dialog.h"
#include "resources/resource.h"
#include "support/dialog_run.h"
#include "support/setup_machine.h"

namespace {

const std::string kNotice =
    "\"The driver will be installed now. It need a few minutes to complete.\" \"Setup\" 0x0";

struct CallerSteps {
    DriverInstallVariant variant;
    bool fromDialog;                  // the notice is owned by the calling dialog
    std::vector<std::string> before;  // between the notice and the wait cursor
};

// Runs the installation from inside a running dialog, as the option dialogs
// do; the start-up variants pass no owner all the same.
void RunFromDialog(SetupMachine& machine, DriverInstallRequest request, bool fromDialog,
                   const DriverInstaller& installer,
                   const std::function<void()>& beforeCursorEnds = nullptr)
{
    machine.dialogs.Expect(IDD_WIN2000_SETUP, [&](sim::SimDialog& dialog) {
        if (fromDialog)
            request.owner = dialog.Handle();
        RunDriverSetup(machine.os(), request, installer, beforeCursorEnds);
        // The caller ends its dialog itself, hidden or not.
        if (!dialog.Ended())
            machine.dialogs.EndDialog(dialog.Handle(), platform::kIdOk);
    });
    RunInApplication(machine, [](CWinApp& app) {
        CDialog caller(app.os(), IDD_WIN2000_SETUP);
        caller.DoModal();
    });
}

TEST(DriverSetup, EachVariantRunsItsCallerStepsAroundTheInstallation)
{
    const std::vector<std::string> closeMixer = {"FindWindowExA Mixer",
                                                 "SendMessageA WM_CLOSE Mixer"};
    const CallerSteps variants[] = {
        {DriverInstallVariant::DriverSwitch, false, closeMixer},
        {DriverInstallVariant::WebSilent, false, closeMixer},
        {DriverInstallVariant::MainDialog, true, {}},
        {DriverInstallVariant::Win2000Dialog, true, {"ShowWindow 131 SW_HIDE"}},
    };
    for (const CallerSteps& expected : variants) {
        SCOPED_TRACE(VariantName(expected.variant));
        SetupMachine machine;
        machine.desktop.AddWindow("Mixer");
        DriverInstallRecorder recorder(machine);
        DriverInstallRequest request;
        request.variant = expected.variant;

        RunFromDialog(machine, request, expected.fromDialog, recorder.Installer());

        std::vector<std::string> want = {"DialogBoxParamA 131",
                                         std::string("MessageBoxA owner=") +
                                             (expected.fromDialog ? "dialog " : "none ") + kNotice};
        want.insert(want.end(), expected.before.begin(), expected.before.end());
        want.push_back("BeginWaitCursor");
        want.push_back(std::string("RunDriverInstallation ") + VariantName(expected.variant));
        want.push_back("DialogBoxParamA 132");
        want.push_back("EndWaitCursor");
        EXPECT_EQ(machine.log().Sequence({"MessageBoxA", "FindWindowExA", "SendMessageA",
                                          "ShowWindow", "Sleep", "BeginWaitCursor",
                                          "RunDriverInstallation", "DialogBoxParamA",
                                          "EndWaitCursor"}),
                  want);
        // The mixer closes without a pause, and only in the start-up variants;
        // the one pause is the installation's before the prompt.
        EXPECT_EQ(machine.desktop.IsOpen("Mixer"), expected.before != closeMixer);
        EXPECT_EQ(machine.clock.Pauses(), std::vector<std::uint32_t>{5000});
        EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 0);
        EXPECT_EQ(recorder.requests.size(), 1u);
    }
}

TEST(DriverSetup, TheCallersLastStepComesAfterThePromptAndBeforeTheCursorEnds)
{
    SetupMachine machine;
    DriverInstallRecorder recorder(machine);
    DriverInstallRequest request;
    request.variant = DriverInstallVariant::Win2000Dialog;
    RunFromDialog(machine, request, true, recorder.Installer(),
                  [&machine] { machine.context.Note("last step", ""); });
    EXPECT_EQ(machine.log().Sequence({"DialogBoxParamA", "last step", "EndWaitCursor"}),
              (std::vector<std::string>{"DialogBoxParamA 131", "DialogBoxParamA 132", "last step",
                                        "EndWaitCursor"}));
}

TEST(DriverSetup, NothingStagedIsSaidInsteadOfThePrompt)
{
    for (bool fromDialog : {false, true}) {
        SetupMachine machine;
        DriverInstallRecorder recorder(machine);
        recorder.result.outcome = DriverInstallOutcome::NothingStaged;
        DriverInstallRequest request;
        request.variant =
            fromDialog ? DriverInstallVariant::MainDialog : DriverInstallVariant::DriverSwitch;
        RunFromDialog(machine, request, fromDialog, recorder.Installer());

        const std::string owner = fromDialog ? "dialog " : "none ";
        EXPECT_EQ(machine.log().Sequence({"MessageBoxA", "RunDriverInstallation",
                                          "DialogBoxParamA", "EndWaitCursor"}),
                  (std::vector<std::string>{
                      "DialogBoxParamA 131", "MessageBoxA owner=" + owner + kNotice,
                      std::string("RunDriverInstallation ") + VariantName(request.variant),
                      "MessageBoxA owner=" + owner +
                          "\"Can not find installation files.\" \"Setup\" 0x0",
                      "EndWaitCursor"}));
        EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 0);
    }
}

}  // namespace
