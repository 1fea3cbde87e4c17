// The [InstallOption] values of the media's setup.ini.
#pragma once

#include <string>

#include "platform/profiles.h"

struct SetupOptions {
    int driverOnly = 0;        // non-zero acts like a driver literal
    int webSetup = 0;          // selects the unattended paths
    int installWdmDriver = 0;  // with webSetup 1: show the Windows 2000/XP options dialog
};

// Reads the three values in this order; a missing file or key gives 0.
SetupOptions ReadSetupOptions(platform::Profiles& profiles, const std::string& setupIniPath);
