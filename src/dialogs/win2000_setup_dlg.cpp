#include "dialogs/win2000_setup_dlg.h"

#include "common/source_dir.h"
#include "dialogs/driver_setup.h"
#include "resources/resource.h"

CWin2000SetupDlg::CWin2000SetupDlg(platform::Platform& os, CWnd* parent)
    : CDialog(os, IDD_WIN2000_SETUP, parent)
{
}

void CWin2000SetupDlg::DoDataExchange(CDataExchange& exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ON_SOUND_CARD, m_soundCardButton);
    DDX_Control(exchange, IDC_ON_MOTHERBOARD, m_motherboardButton);
    DDX_Control(exchange, IDC_DISABLE_LEGACY, m_legacyBox);
    DDX_Control(exchange, IDC_MIC_SUBWOOFER, m_micSubwooferBox);
    DDX_Control(exchange, IDC_LINE_IN_REAR, m_lineInRearBox);
    DDX_Control(exchange, IDC_LINE_IN_CENTRE, m_lineInCentreBox);
}

bool CWin2000SetupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_sourceDir = QuerySourceDir(os());
    // The defaults suit a motherboard whose line-in doubles as the rear
    // speaker output. The legacy box keeps the template's unchecked state.
    m_motherboardButton.SetCheck(1);
    m_soundCardButton.SetCheck(0);
    m_lineInRearBox.SetCheck(1);
    m_lineInCentreBox.SetCheck(0);
    m_micSubwooferBox.SetCheck(0);
    return true;
}

// Each radio button starts a group of its own, and a jack box stays checked
// when clicked again: the handlers keep the choices consistent. Line-in and
// Center/Subwoofer uses both the line-in jack and the subwoofer, so it
// excludes the other two; those two can share.
void CWin2000SetupDlg::OnClicked(int controlId)
{
    switch (controlId) {
    case IDC_LINE_IN_CENTRE:
        m_lineInRearBox.SetCheck(0);
        m_lineInCentreBox.SetCheck(1);
        m_micSubwooferBox.SetCheck(0);
        break;
    case IDC_LINE_IN_REAR:
        m_lineInRearBox.SetCheck(1);
        m_lineInCentreBox.SetCheck(0);
        break;
    case IDC_MIC_SUBWOOFER:
        m_lineInCentreBox.SetCheck(0);
        m_micSubwooferBox.SetCheck(1);
        break;
    case IDC_ON_MOTHERBOARD:
        ChooseMotherboard(true);
        break;
    case IDC_ON_SOUND_CARD:
        ChooseMotherboard(false);
        break;
    default:
        break;
    }
}

// A sound card has its rear jack of its own: the jack boxes do not apply,
// but keep their states for a return to the motherboard.
void CWin2000SetupDlg::ChooseMotherboard(bool onMotherboard)
{
    m_motherboardButton.SetCheck(onMotherboard ? 1 : 0);
    m_soundCardButton.SetCheck(onMotherboard ? 0 : 1);
    m_lineInRearBox.EnableWindow(onMotherboard);
    m_lineInCentreBox.EnableWindow(onMotherboard);
    m_micSubwooferBox.EnableWindow(onMotherboard);
}

void CWin2000SetupDlg::OnOK()
{
    DriverInstallRequest request;
    request.variant = DriverInstallVariant::Win2000Dialog;
    request.owner = m_hWnd;
    // The driver package lies beside the installer in this set-up, so no
    // media folder is chosen by Windows version.
    request.sourceDir = m_sourceDir;
    // Hidden during the installation, the dialog keeps its controls: the INF
    // patching reads the options from them.
    request.infOptions = this;
    RunDriverSetup(os(), request, m_installDriver, [this] { CDialog::OnOK(); });
}

bool CWin2000SetupDlg::LegacyDeviceDisabled()
{
    return m_legacyBox.GetCheck() != 0;
}

bool CWin2000SetupDlg::SoundCardChosen()
{
    return m_soundCardButton.GetCheck() != 0;
}

bool CWin2000SetupDlg::LineInSharesRear()
{
    return m_lineInRearBox.GetCheck() != 0;
}

bool CWin2000SetupDlg::LineInSharesCentre()
{
    return m_lineInCentreBox.GetCheck() != 0;
}

bool CWin2000SetupDlg::MicrophoneSharesSubwoofer()
{
    return m_micSubwooferBox.GetCheck() != 0;
}
