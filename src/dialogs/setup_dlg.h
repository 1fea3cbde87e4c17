// CSetupDlg: the main installation-options dialog. The user chooses the
// audio applications, the device driver or both, and OK does the work, the
// applications first.
#pragma once

#include <string>

#include "common/os_class.h"
#include "dialogs/driver_installer.h"
#include "framework/dialog.h"
#include "framework/winapp.h"

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(CWinApp& app, CWnd* parent = nullptr);

    void UseDriverInstaller(DriverInstaller installer) { m_installDriver = std::move(installer); }

protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnClicked(int controlId) override;
    bool OnSysCommand(unsigned commandId, long parameter) override;
    bool OnPaint() override;
    platform::IconHandle OnQueryDragIcon() override;

private:
    void AddAboutItem();
    void UpdateOkButton();
    void ShowPleaseWait();
    // True when the package setup program was started, which ends the run.
    bool InstallApplications();
    void InstallDriver();

    OsClass m_osClass;
    std::string m_sourceDir;
    CStatic m_waitText;
    CButton m_okButton;
    CButton m_driverBox;
    CButton m_applicationsBox;
    platform::IconHandle m_hIcon;
    DriverInstaller m_installDriver = RunDriverInstallation;
};
