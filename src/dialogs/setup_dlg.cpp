#include "dialogs/setup_dlg.h"

#include "common/messages.h"
#include "common/source_dir.h"
#include "dialogs/about_dlg.h"
#include "dialogs/driver_setup.h"
#include "package/audio_applications.h"
#include "package/package_setup.h"
#include "package/previous_package.h"
#include "framework/paint_dc.h"
#include "resources/resource.h"

namespace {

// The wait text gets a moment on screen before the work blocks the thread.
constexpr std::uint32_t kPleaseWaitPause = 200;

}  // namespace

CSetupDlg::CSetupDlg(CWinApp& app, CWnd* parent)
    : CDialog(app.os(), IDD_SETUP_DIALOG, parent), m_hIcon(app.LoadIcon(IDR_MAINFRAME))
{
}

void CSetupDlg::DoDataExchange(CDataExchange& exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_PLEASE_WAIT, m_waitText);
    DDX_Control(exchange, platform::kIdOk, m_okButton);
    DDX_Control(exchange, IDC_INSTALL_DRIVER, m_driverBox);
    DDX_Control(exchange, IDC_INSTALL_APPLICATIONS, m_applicationsBox);
}

bool CSetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddAboutItem();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    m_applicationsBox.SetCheck(1);
    m_driverBox.SetCheck(1);
    m_waitText.ShowWindow(false);

    m_osClass = QueryOsClass(os().version);
    m_sourceDir = QuerySourceDir(os());

    // Without the package the media is not a complete one: say so and stop
    // before the dialog is ever shown.
    if (!FindPackageSetup(os(), m_sourceDir).exists) {
        MessageBox(kMissingInstallationFiles, kSetupCaption, platform::kMessageBoxOk);
        platform::EndProgram(os().processes, 0);
    }
    return true;
}

void CSetupDlg::AddAboutItem()
{
    if (!HasSystemMenu())
        return;
    std::string aboutItem = os().dialogs.LoadText(IDS_ABOUTBOX);
    if (aboutItem.empty())
        return;
    AppendSystemMenuSeparator();
    AppendSystemMenuItem(IDM_ABOUTBOX, aboutItem);
}

void CSetupDlg::OnClicked(int controlId)
{
    if (controlId == IDC_INSTALL_APPLICATIONS || controlId == IDC_INSTALL_DRIVER)
        UpdateOkButton();
}

void CSetupDlg::UpdateOkButton()
{
    m_okButton.EnableWindow(m_applicationsBox.GetCheck() || m_driverBox.GetCheck());
}

bool CSetupDlg::OnSysCommand(unsigned commandId, long)
{
    if ((commandId & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CAboutDlg about(os());
    about.DoModal();
    return true;
}

bool CSetupDlg::OnPaint()
{
    if (!IsIconic())
        return false;
    CPaintDC dc(*this);
    dc.EraseIconBackground();
    platform::Size icon = os().dialogs.IconMetrics();
    platform::Size client = GetClientSize();
    // Integer division truncates toward zero, also for a client area
    // narrower than the icon.
    int x = (client.width - icon.width + 1) / 2;
    int y = (client.height - icon.height + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
    return true;
}

platform::IconHandle CSetupDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CSetupDlg::OnOK()
{
    if (!m_applicationsBox.GetCheck() && !m_driverBox.GetCheck()) {
        EndDialog(platform::kIdCancel);
        return;
    }
    ShowPleaseWait();
    if (m_applicationsBox.GetCheck() && InstallApplications())
        return;
    if (m_driverBox.GetCheck())
        InstallDriver();
    CDialog::OnOK();
}

void CSetupDlg::ShowPleaseWait()
{
    m_applicationsBox.ShowWindow(false);
    m_driverBox.ShowWindow(false);
    m_waitText.ShowWindow(true);
    // Nothing else gets painted until the work is done: paint the text now.
    m_waitText.RedrawWindow(platform::kRedrawInvalidateEraseNow);
    os().clock.Sleep(kPleaseWaitPause);
}

bool CSetupDlg::InstallApplications()
{
    CloseAudioApplications(os());
    UninstallPreviousPackage(os());
    ShowWindow(false);

    PackageSetup setup = FindPackageSetup(os(), m_sourceDir);
    if (!setup.exists) {
        MessageBox(kMissingPackageSetup, kSetupCaption, platform::kMessageBoxOk);
        return false;
    }
    // The driver waits for the next run: the handshake file asks the
    // package's setup program to start the installer again for it.
    WritePackageHandshake(os(), m_sourceDir, m_driverBox.GetCheck() != 0);
    LaunchPackageSetup(os(), setup.path);
    CDialog::OnOK();
    return true;
}

void CSetupDlg::InstallDriver()
{
    DriverInstallRequest request;
    request.variant = DriverInstallVariant::MainDialog;
    request.owner = m_hWnd;
    request.sourceDir = m_sourceDir;
    request.windowsXP = m_osClass.m_bWinXP;
    RunDriverSetup(os(), request, m_installDriver);
}
