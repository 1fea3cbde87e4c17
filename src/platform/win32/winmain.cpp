// The program's entry: the real Windows platform and the application object.
// The framework's headers come before <windows.h>, whose macros would
// otherwise rename members such as CWnd::MessageBox.
#include "app/setup_app.h"
#include "platform/framework/winapp.h"
#include "platform/win32/win32_platform.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    win32::Win32Platform platform;
    return AfxWinMain(theApp, platform.Services(), lpCmdLine);
}
