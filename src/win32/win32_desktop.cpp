#include "win32/win32_desktop.h"

#include <windows.h>

#include "win32/win32_handles.h"

namespace win32 {

std::optional<platform::WindowHandle> Win32Desktop::FindTopLevel(const std::string& title)
{
    HWND window = FindWindowExA(nullptr, nullptr, nullptr, title.c_str());
    if (!window)
        return std::nullopt;
    return ToOpaque<platform::WindowHandle>(window);
}

void Win32Desktop::SendClose(platform::WindowHandle window)
{
    SendMessageA(ToNative<HWND>(window), WM_CLOSE, 0, 0);
}

int Win32Desktop::ShowMessage(platform::WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned flags)
{
    return MessageBoxA(ToNative<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

platform::WindowHandle Win32Desktop::DesktopWindow()
{
    return ToOpaque<platform::WindowHandle>(GetDesktopWindow());
}

}  // namespace win32
