// The framework's window object: a window handle and the platform it lives on.
#pragma once

#include <string>

#include "platform/platform.h"

class CWnd {
public:
    explicit CWnd(platform::Platform& os) : m_os(os) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    platform::WindowHandle m_hWnd = platform::kNoWindow;

    platform::Platform& os() const { return m_os; }

    // CWnd::MessageBox: a message box owned by this window.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
    // ShowWindow with SW_SHOW or SW_HIDE.
    void ShowWindow(bool show);
    bool IsIconic();
    // GetClientRect: the client area's width and height.
    platform::Size GetClientSize();
    // WM_SETICON with ICON_BIG or ICON_SMALL.
    void SetIcon(platform::IconHandle icon, bool bigIcon);

    // The window's system menu, when it has one (GetSystemMenu(FALSE)), and
    // items appended to it (AppendMenuA).
    bool HasSystemMenu();
    void AppendSystemMenuSeparator();
    void AppendSystemMenuItem(unsigned commandId, const std::string& text);

    void BeginWaitCursor();
    void EndWaitCursor();

private:
    platform::Platform& m_os;
};
