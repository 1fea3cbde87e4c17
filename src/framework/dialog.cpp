#include "framework/dialog.h"

CDialog::CDialog(platform::Platform& os, int templateId, CWnd* parent)
    : CWnd(os), m_templateId(templateId), m_parent(parent)
{
}

int CDialog::DoModal()
{
    platform::WindowHandle parent = m_parent ? m_parent->m_hWnd : platform::kNoWindow;
    int result = os().dialogs.RunModal(m_templateId, parent, *this);
    m_hWnd = platform::kNoWindow;
    return result;
}

void CDialog::EndDialog(int result)
{
    os().dialogs.EndDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    return true;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(platform::kIdOk);
}

void CDialog::OnCancel()
{
    EndDialog(platform::kIdCancel);
}

void CDialog::OnClicked(int) {}

bool CDialog::OnSysCommand(unsigned, long)
{
    return false;
}

bool CDialog::OnPaint()
{
    return false;
}

platform::IconHandle CDialog::OnQueryDragIcon()
{
    return platform::IconHandle::None;
}

void CDialog::Attached(platform::WindowHandle dialog)
{
    m_hWnd = dialog;
}

bool CDialog::InitDialog()
{
    return OnInitDialog();
}

void CDialog::Command(int controlId, int notification)
{
    if (controlId == platform::kIdOk)
        OnOK();
    else if (controlId == platform::kIdCancel)
        OnCancel();
    else if (notification == platform::kNotifyClicked)
        OnClicked(controlId);
}

bool CDialog::SysCommand(unsigned commandId, long parameter)
{
    return OnSysCommand(commandId, parameter);
}

bool CDialog::Paint()
{
    return OnPaint();
}

platform::IconHandle CDialog::QueryDragIcon()
{
    return OnQueryDragIcon();
}
