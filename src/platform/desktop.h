// Top-level windows of other programs, found by title, and message boxes.
#pragma once

#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

constexpr unsigned kMessageBoxOk = 0;  // MB_OK
constexpr int kIdOk = 1;               // IDOK
constexpr int kIdCancel = 2;           // IDCANCEL

class Desktop {
public:
    virtual ~Desktop() = default;

    // FindWindowExA with no parent, no child-after and no class.
    virtual std::optional<WindowHandle> FindTopLevel(const std::string& title) = 0;
    // SendMessageA(window, WM_CLOSE, 0, 0): returns when the window has handled it.
    virtual void SendClose(WindowHandle window) = 0;
    // MessageBoxA; `owner` may be kNoWindow.
    virtual int ShowMessage(WindowHandle owner, const std::string& text,
                            const std::string& caption, unsigned flags) = 0;
    // GetDesktopWindow.
    virtual WindowHandle DesktopWindow() = 0;
};

}  // namespace platform
