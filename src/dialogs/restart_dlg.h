// The restart prompt at the end of a driver installation (template 132):
// "Yes" (preselected) and OK ask Windows to reboot.
#pragma once

#include "framework/dialog.h"

class CRestartDlg : public CDialog {
public:
    explicit CRestartDlg(platform::Platform& os, CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange& exchange) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CButton m_yesButton;
    CButton m_noButton;
};

// The prompt as every caller shows it: no parent, modal, result ignored.
void ShowRestartPrompt(platform::Platform& os);
