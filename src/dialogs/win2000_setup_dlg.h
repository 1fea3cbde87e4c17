// CWin2000SetupDlg: the Windows 2000/XP driver options dialog of the web
// setup. Where the 5740 chip sits, which jacks the motherboard shares and
// whether the legacy MIDI/game-port device is disabled; "Install" installs
// the driver with these options written into its INF.
#pragma once

#include <string>

#include "dialogs/driver_installer.h"
#include "driver/inf_option_states.h"
#include "framework/dialog.h"

class CWin2000SetupDlg : public CDialog, public InfOptionStates {
public:
    explicit CWin2000SetupDlg(platform::Platform& os, CWnd* parent = nullptr);

    void UseDriverInstaller(DriverInstaller installer) { m_installDriver = std::move(installer); }

    // The options as the controls show them now; the INF patching asks while
    // the dialog is hidden during the installation.
    bool LegacyDeviceDisabled() override;
    bool SoundCardChosen() override;
    bool LineInSharesRear() override;
    bool LineInSharesCentre() override;
    bool MicrophoneSharesSubwoofer() override;

protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnClicked(int controlId) override;

private:
    void ChooseMotherboard(bool onMotherboard);

    std::string m_sourceDir;
    CButton m_soundCardButton;
    CButton m_motherboardButton;
    CButton m_legacyBox;
    CButton m_micSubwooferBox;
    CButton m_lineInRearBox;
    CButton m_lineInCentreBox;
    DriverInstaller m_installDriver = RunDriverInstallation;
};
