#include "framework/controls.h"

#include "framework/dialog.h"

void CDialogItem::Bind(platform::Platform& os, platform::WindowHandle dialog, int controlId)
{
    m_os = &os;
    m_dialog = dialog;
    m_id = controlId;
}

void CDialogItem::ShowWindow(bool show)
{
    m_os->dialogs.ShowItem(m_dialog, m_id, show);
}

void CDialogItem::EnableWindow(bool enable)
{
    m_os->dialogs.EnableItem(m_dialog, m_id, enable);
}

void CDialogItem::RedrawWindow(unsigned flags)
{
    m_os->dialogs.RedrawItem(m_dialog, m_id, flags);
}

int CButton::GetCheck()
{
    return m_os->dialogs.GetCheck(m_dialog, m_id);
}

void CButton::SetCheck(int state)
{
    m_os->dialogs.SetCheck(m_dialog, m_id, state);
}

void DDX_Control(CDataExchange& exchange, int controlId, CDialogItem& control)
{
    if (!control.IsBound())
        control.Bind(exchange.m_dialog.os(), exchange.m_dialog.m_hWnd, controlId);
}
