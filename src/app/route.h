// The one path a start takes after the start-up adjustments, chosen from the
// Windows version, the command line and setup.ini's [InstallOption] values.
#pragma once

#include <string>

#include "app/setup_options.h"
#include "common/os_class.h"

enum class Route {
    HandOver,       // Windows before 2000: the media's Setup.exe does the work
    Package,        // "/AP": the application package
    DriverSwitch,   // "/DRIVER" or "DriverOnly": the driver, without a dialog
    MainDialog,     // the main options dialog
    Win2000Dialog,  // WebSetup=1 with InstallWDMDriver: the Windows 2000/XP options dialog
    WebNothing,     // WebSetup=1 without InstallWDMDriver: nothing is installed
    WebSilent,      // any other WebSetup: the driver, without a dialog
    Silent,         // "/S" on Windows 2000 and later: the driver, with no window at all
    SilentUnavailable,  // "/S" before 2000: no unattended path, nothing is started
};

// A non-zero "WebSetup" outweighs the command line and "DriverOnly" on
// Windows 2000 and later; before 2000 the hand-over passes them on whatever
// "WebSetup" says. "/S" outweighs everything: a script gets the driver or an
// exit code that says why not, never the hand-over's windows.
Route ChooseRoute(const OsClass& os, const std::string& commandLine,
                  const SetupOptions& options);
