#include "app/silent_install.h"

#include "common/exit_codes.h"
#include "common/top_level_window.h"
#include "driver/install_steps.h"

DriverInstallVariant SilentInstallVariant(const SetupOptions& options)
{
    return options.webSetup == 0 ? DriverInstallVariant::DriverSwitch
                                 : DriverInstallVariant::WebSilent;
}

int InstallDriverSilently(platform::Platform& os, const DriverInstallRequest& request)
{
    if (StepsOf(request.variant).closesMixerFirst)
        CloseWindowByTitle(os.desktop, "Mixer");
    os.dialogs.BeginWaitCursor();
    const DriverInstallResult result = RunDriverInstallation(os, request);
    os.dialogs.EndWaitCursor();
    return SilentExitCode(result.outcome);
}

int SilentExitCode(DriverInstallOutcome outcome)
{
    switch (outcome) {
    case DriverInstallOutcome::Installed:
        return kExitInstalled;
    case DriverInstallOutcome::RestartNeeded:
        return kExitRestartNeeded;
    case DriverInstallOutcome::InfNotRegistered:
    case DriverInstallOutcome::NothingStaged:
        break;
    }
    return kExitInstallFailed;
}
