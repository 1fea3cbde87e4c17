#include "platform/framework/wnd.h"

int CWnd::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    return m_os.desktop.ShowMessage(m_hWnd, text, caption, flags);
}

void CWnd::ShowWindow(bool show)
{
    m_os.dialogs.ShowDialog(m_hWnd, show);
}

bool CWnd::IsIconic()
{
    return m_os.dialogs.IsMinimised(m_hWnd);
}

void CWnd::BeginWaitCursor()
{
    m_os.dialogs.BeginWaitCursor();
}

void CWnd::EndWaitCursor()
{
    m_os.dialogs.EndWaitCursor();
}
