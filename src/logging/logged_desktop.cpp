#include "logging/logged_desktop.h"

#include <cstring>

#include "common/messages.h"

namespace logging {

const char* DialogResultText(int result)
{
    if (result == platform::kIdOk)
        return "IDOK";
    return result == platform::kIdCancel ? "IDCANCEL" : "another answer";
}

std::optional<platform::WindowHandle> LoggedDesktop::FindTopLevel(const std::string& title)
{
    auto window = m_inner.FindTopLevel(title);
    if (Recording())
        m_log.Call(0, "FindWindowExA(\"%s\") = %s", title.c_str(),
                   window ? "a window" : "NULL");
    return window;
}

void LoggedDesktop::SendClose(platform::WindowHandle window)
{
    m_inner.SendClose(window);
    if (Recording())
        m_log.Call(0, "SendMessageA(%s, WM_CLOSE, 0, 0)", m_log.WindowText(window));
}

int LoggedDesktop::ShowMessage(platform::WindowHandle owner, const std::string& text,
                               const std::string& caption, unsigned flags)
{
    const int answer = m_inner.ShowMessage(owner, text, caption, flags);
    if (Recording()) {
        m_log.Call(ErrorIf(answer == 0), "MessageBoxA(%s, \"%s\", \"%s\", %s) = %s",
                   m_log.WindowText(owner), text.c_str(), caption.c_str(),
                   flags == platform::kMessageBoxOk ? "MB_OK" : "other flags",
                   answer == 0 ? "0" : DialogResultText(answer));
        if (std::strcmp(text.c_str(), kMissingInstallationFiles) == 0)
            m_log.Outcome().Saw(Event::MissingInstallationFiles);
        else if (std::strcmp(text.c_str(), kMissingPackageSetup) == 0)
            m_log.Outcome().Saw(Event::MissingPackageSetup);
    }
    return answer;
}

platform::WindowHandle LoggedDesktop::DesktopWindow()
{
    const platform::WindowHandle desktop = m_inner.DesktopWindow();
    if (Recording()) {
        m_log.RememberDesktop(desktop);
        m_log.Call(0, "GetDesktopWindow() = desktop");
    }
    return desktop;
}

}  // namespace logging
