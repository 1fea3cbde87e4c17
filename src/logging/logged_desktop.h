#pragma once

#include "platform/desktop.h"
#include "logging/logged_service.h"

namespace logging {

class LoggedDesktop : public platform::Desktop, private LoggedService {
public:
    LoggedDesktop(platform::Desktop& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

    std::optional<platform::WindowHandle> FindTopLevel(const std::string& title) override;
    void SendClose(platform::WindowHandle window) override;
    int ShowMessage(platform::WindowHandle owner, const std::string& text,
                    const std::string& caption, unsigned flags) override;
    platform::WindowHandle DesktopWindow() override;

private:
    platform::Desktop& m_inner;
};

// How the log shows a dialog's or message box's answer: IDOK, IDCANCEL.
const char* DialogResultText(int result);

}  // namespace logging
