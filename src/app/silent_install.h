// "/S": the driver installation for scripts, with no window of its own and
// its result in the exit code.
#pragma once

#include "app/setup_options.h"
#include "driver/driver_installation.h"

// The steps and driver folder of the start-up's own driver installation
// that setup.ini chooses: "WebSetup" = 0 gives the command-line driver's,
// any other value the silent web set-up's.
DriverInstallVariant SilentInstallVariant(const SetupOptions& options);

// Runs the installation as the start-up runs it, but without the notice,
// "Can not find installation files.", the restart prompt or the pause before
// it; it never asks Windows to restart. Returns the exit code.
int InstallDriverSilently(platform::Platform& os, const DriverInstallRequest& request);

// The exit code of an installation's outcome.
int SilentExitCode(DriverInstallOutcome outcome);
