// Removing the previously installed application package through its own
// uninstaller before the new package is set up.
#pragma once

#include "platform/platform.h"

// Runs the uninstaller registered by the previous package, if any, with " -a"
// appended, and returns when it has ended. The wait cursor is up meanwhile.
void UninstallPreviousPackage(platform::Platform& os);
