#include "app/route.h"

#include "app/command_line.h"

Route ChooseRoute(const OsClass& os, const std::string& commandLine,
                  const SetupOptions& options)
{
    if (IsSilentLiteral(commandLine))
        return os.m_bWin2000 ? Route::Silent : Route::SilentUnavailable;
    if (!os.m_bWin2000)
        return Route::HandOver;
    if (options.webSetup == 0) {
        if (IsApLiteral(commandLine))
            return Route::Package;
        if (IsDriverLiteral(commandLine) || options.driverOnly != 0)
            return Route::DriverSwitch;
        return Route::MainDialog;
    }
    if (options.webSetup == 1)
        return options.installWdmDriver != 0 ? Route::Win2000Dialog : Route::WebNothing;
    return Route::WebSilent;
}
