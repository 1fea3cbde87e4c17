// The about box that the main options dialog opens from its system menu.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(platform::Platform& os);

protected:
    void DoDataExchange(CDataExchange& exchange) override;
};
