#include "framework/wnd.h"

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

platform::Size CWnd::GetClientSize()
{
    return m_os.dialogs.ClientSize(m_hWnd);
}

void CWnd::SetIcon(platform::IconHandle icon, bool bigIcon)
{
    m_os.dialogs.SetIcon(m_hWnd, icon, bigIcon);
}

bool CWnd::HasSystemMenu()
{
    return m_os.dialogs.HasSystemMenu(m_hWnd);
}

void CWnd::AppendSystemMenuSeparator()
{
    m_os.dialogs.AppendSystemMenuSeparator(m_hWnd);
}

void CWnd::AppendSystemMenuItem(unsigned commandId, const std::string& text)
{
    m_os.dialogs.AppendSystemMenuItem(m_hWnd, commandId, text);
}

void CWnd::BeginWaitCursor()
{
    m_os.dialogs.BeginWaitCursor();
}

void CWnd::EndWaitCursor()
{
    m_os.dialogs.EndWaitCursor();
}
