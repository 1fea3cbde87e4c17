// The framework's modal dialog: a numbered template, controls bound by id in
// DoDataExchange, and handlers that the platform's dialog service calls.
#pragma once

#include "framework/controls.h"
#include "framework/wnd.h"

class CDialog : public CWnd, private platform::DialogEvents {
public:
    CDialog(platform::Platform& os, int templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; returns the result it ended with.
    int DoModal();
    void EndDialog(int result);
    // Runs DoDataExchange in the given direction.
    bool UpdateData(bool saveAndValidate = true);

protected:
    virtual void DoDataExchange(CDataExchange& exchange);
    // Binds the controls; true lets the system focus the first tab stop.
    virtual bool OnInitDialog();
    // IDOK: update the data and end with IDOK.
    virtual void OnOK();
    // IDCANCEL (Cancel, Esc, the close box): end with IDCANCEL.
    virtual void OnCancel();
    // BN_CLICKED from any other control.
    virtual void OnClicked(int controlId);
    // WM_SYSCOMMAND; false: the default processing.
    virtual bool OnSysCommand(unsigned commandId, long parameter);
    // WM_PAINT; false: the default painting.
    virtual bool OnPaint();
    // WM_QUERYDRAGICON; IconHandle::None: the default answer.
    virtual platform::IconHandle OnQueryDragIcon();

private:
    void Attached(platform::WindowHandle dialog) override;
    bool InitDialog() override;
    void Command(int controlId, int notification) override;
    bool SysCommand(unsigned commandId, long parameter) override;
    bool Paint() override;
    platform::IconHandle QueryDragIcon() override;

    int m_templateId;
    CWnd* m_parent;
};
