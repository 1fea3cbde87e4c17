#include "dialogs/about_dlg.h"

#include "resources/resource.h"

CAboutDlg::CAboutDlg(platform::Platform& os) : CDialog(os, IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange& exchange)
{
    // The icon, the texts and OK come from the template; nothing to bind.
    CDialog::DoDataExchange(exchange);
}
