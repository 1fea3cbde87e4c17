// The program's entry: the real Windows platform, behind the log on request,
// and the application object. The framework's headers come before
// <windows.h>, whose macros would otherwise rename members such as
// CWnd::MessageBox.
#include "app/setup_app.h"
#include "framework/winapp.h"
#include "logging/log_on_request.h"
#include "win32/win32_log_host.h"
#include "win32/win32_platform.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    win32::Win32Platform platform;
    win32::Win32LogHost logHost;
    return logging::RunWithLogOnRequest(theApp, platform.Services(), logHost, lpCmdLine);
}
