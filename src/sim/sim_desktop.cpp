#include "sim/sim_desktop.h"

namespace sim {

platform::WindowHandle SimDesktop::AddWindow(const std::string& title, bool closesOnRequest)
{
    SimWindow window;
    window.handle = static_cast<platform::WindowHandle>(m_nextHandle++);
    window.title = title;
    window.closesOnRequest = closesOnRequest;
    m_windows.push_back(window);
    return window.handle;
}

const SimWindow* SimDesktop::Window(const std::string& title) const
{
    for (const SimWindow& window : m_windows) {
        if (window.title == title)
            return &window;
    }
    return nullptr;
}

bool SimDesktop::IsOpen(const std::string& title) const
{
    for (const SimWindow& window : m_windows) {
        if (window.title == title && window.open)
            return true;
    }
    return false;
}

int SimDesktop::CloseRequests(const std::string& title) const
{
    int requests = 0;
    for (const SimWindow& window : m_windows) {
        if (window.title == title)
            requests += window.closeRequests;
    }
    return requests;
}

std::optional<platform::WindowHandle> SimDesktop::FindTopLevel(const std::string& title)
{
    if (m_context.Fails("FindWindowExA", title, error::kNotEnoughMemory))
        return std::nullopt;
    for (const SimWindow& window : m_windows) {
        if (window.open && window.title == title) {
            m_context.Record("FindWindowExA", title);
            return window.handle;
        }
    }
    m_context.Record("FindWindowExA", title + " (none)");
    return std::nullopt;
}

void SimDesktop::SendClose(platform::WindowHandle window)
{
    for (SimWindow& candidate : m_windows) {
        if (candidate.handle != window)
            continue;
        // A message that is not delivered leaves the window as it is.
        std::string detail = "WM_CLOSE " + candidate.title;
        if (!m_context.Succeeds("SendMessageA", detail, error::kInvalidWindowHandle))
            return;
        m_context.Effect("close-window", {TextField("title", candidate.title)});
        ++candidate.closeRequests;
        if (candidate.closesOnRequest)
            candidate.open = false;
        return;
    }
    throw SimScriptError("WM_CLOSE sent to a window that does not exist");
}

int SimDesktop::ShowMessage(platform::WindowHandle owner, const std::string& text,
                            const std::string& caption, unsigned flags)
{
    std::string ownerText = owner == platform::kNoWindow ? "none" : "dialog";
    std::string detail =
        "owner=" + ownerText + " \"" + text + "\" \"" + caption + "\" " + Hex(flags);
    // A box that cannot be made is never seen: MessageBoxA answers 0.
    if (!m_context.Succeeds("MessageBoxA", detail, error::kNotEnoughMemory))
        return 0;
    m_context.Effect("message", {TextField("text", text), TextField("caption", caption)});
    SimMessageBox box{owner, text, caption, flags, m_context.now};
    m_messageBoxes.push_back(box);
    if (onMessageBox)
        onMessageBox(box);
    return platform::kIdOk;  // the only button
}

platform::WindowHandle SimDesktop::DesktopWindow()
{
    if (!m_context.Succeeds("GetDesktopWindow", ""))
        return platform::kNoWindow;
    return kDesktop;
}

}  // namespace sim
