#include "app/setup_options.h"

SetupOptions ReadSetupOptions(platform::Profiles& profiles, const std::string& setupIniPath)
{
    SetupOptions options;
    options.driverOnly = profiles.GetInt("InstallOption", "DriverOnly", 0, setupIniPath);
    options.webSetup = profiles.GetInt("InstallOption", "WebSetup", 0, setupIniPath);
    options.installWdmDriver =
        profiles.GetInt("InstallOption", "InstallWDMDriver", 0, setupIniPath);
    return options;
}
