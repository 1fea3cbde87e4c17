#include "framework/paint_dc.h"

CPaintDC::CPaintDC(CWnd& window)
    : m_hDC(window.os().dialogs.BeginPaint(window.m_hWnd)), m_window(window)
{
}

CPaintDC::~CPaintDC()
{
    m_window.os().dialogs.EndPaint(m_window.m_hWnd, m_hDC);
}

void CPaintDC::EraseIconBackground()
{
    m_window.os().dialogs.EraseIconBackground(m_window.m_hWnd, m_hDC);
}

void CPaintDC::DrawIcon(int x, int y, platform::IconHandle icon)
{
    m_window.os().dialogs.DrawIcon(m_hDC, x, y, icon);
}
