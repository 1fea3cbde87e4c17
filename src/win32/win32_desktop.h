#pragma once

#include "platform/desktop.h"

namespace win32 {

class Win32Desktop : public platform::Desktop {
public:
    std::optional<platform::WindowHandle> FindTopLevel(const std::string& title) override;
    void SendClose(platform::WindowHandle window) override;
    int ShowMessage(platform::WindowHandle owner, const std::string& text,
                    const std::string& caption, unsigned flags) override;
    platform::WindowHandle DesktopWindow() override;
};

}  // namespace win32
