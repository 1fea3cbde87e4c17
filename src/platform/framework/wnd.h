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

    void BeginWaitCursor();
    void EndWaitCursor();

private:
    platform::Platform& m_os;
};
