// How the callers start the driver installation. The program always runs
// RunDriverInstallation; the dialogs' tests put a recorder in its place to
// see what a dialog asks for and what it shows meanwhile.
#pragma once

#include <functional>

#include "driver/driver_installation.h"

using DriverInstaller =
    std::function<DriverInstallResult(platform::Platform&, const DriverInstallRequest&)>;
