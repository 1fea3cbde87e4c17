#include "dialogs/restart_dlg.h"

#include "dialogs/token_privilege.h"
#include "resources/resource.h"

CRestartDlg::CRestartDlg(platform::Platform& os, CWnd* parent)
    : CDialog(os, IDD_RESTART, parent)
{
}

void CRestartDlg::DoDataExchange(CDataExchange& exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_RESTART_YES, m_yesButton);
    DDX_Control(exchange, IDC_RESTART_NO, m_noButton);
}

bool CRestartDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_yesButton.SetCheck(1);
    return true;  // the focus goes to the first tab stop, OK
}

void CRestartDlg::OnOK()
{
    if (m_yesButton.GetCheck() != 0) {
        // Without the privilege Windows refuses the reboot; it is asked for
        // all the same, and a refusal ends the program as "No" would.
        EnableTokenPrivilege(os(), "SeShutdownPrivilege");
        os().security.ExitWindows(platform::kExitWindowsReboot, 0);
    }
    CDialog::OnOK();
}

void ShowRestartPrompt(platform::Platform& os)
{
    CRestartDlg prompt(os);
    prompt.DoModal();
}
