// Controls of a dialog, bound by id during the dialog's data exchange.
#pragma once

#include "platform/platform.h"

class CDialog;

// A control of a running dialog: the dialog's window and the control's id.
class CDialogItem {
public:
    CDialogItem() = default;
    CDialogItem(const CDialogItem&) = delete;
    CDialogItem& operator=(const CDialogItem&) = delete;

    void Bind(platform::Platform& os, platform::WindowHandle dialog, int controlId);
    bool IsBound() const { return m_os != nullptr; }
    int GetDlgCtrlID() const { return m_id; }

    void ShowWindow(bool show);
    void EnableWindow(bool enable);
    void RedrawWindow(unsigned flags);

protected:
    platform::Platform* m_os = nullptr;
    platform::WindowHandle m_dialog = platform::kNoWindow;
    int m_id = 0;
};

class CButton : public CDialogItem {
public:
    int GetCheck();
    void SetCheck(int state);
};

class CStatic : public CDialogItem {};

// The framework's data exchange, reduced to what the dialogs use: binding
// control objects to the controls of the template.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog& m_dialog;
    bool m_bSaveAndValidate;
};

// Binds the control object to control `controlId` of the dialog; a second
// exchange leaves an existing binding as it is.
void DDX_Control(CDataExchange& exchange, int controlId, CDialogItem& control);
