#include "dialogs/driver_setup.h"

#include "common/messages.h"
#include "common/top_level_window.h"
#include "dialogs/restart_dlg.h"
#include "driver/install_steps.h"

void RunDriverSetup(platform::Platform& os, const DriverInstallRequest& request,
                    const DriverInstaller& install, const std::function<void()>& beforeCursorEnds)
{
    const DriverInstallSteps steps = StepsOf(request.variant);

    os.desktop.ShowMessage(request.owner, kDriverNotice, kSetupCaption, platform::kMessageBoxOk);
    if (steps.hidesCallingDialog)
        os.dialogs.ShowDialog(request.owner, false);
    if (steps.closesMixerFirst)
        CloseWindowByTitle(os.desktop, "Mixer");

    os.dialogs.BeginWaitCursor();
    const DriverInstallResult result = install(os, request);
    if (result.outcome == DriverInstallOutcome::NothingStaged) {
        os.desktop.ShowMessage(request.owner, kMissingInstallationFiles, kSetupCaption,
                               platform::kMessageBoxOk);
    } else {
        os.clock.SleepEx(result.pauseBeforePrompt);
        ShowRestartPrompt(os);
    }
    if (beforeCursorEnds)
        beforeCursorEnds();
    os.dialogs.EndWaitCursor();
}
