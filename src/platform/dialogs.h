// Modal dialogs from numbered templates, their controls by id, the system
// menu, icons, minimised painting and the wait cursor.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace platform {

constexpr int kNotifyClicked = 0;             // BN_CLICKED
constexpr unsigned kSysCommandClose = 0xF060;     // SC_CLOSE
constexpr unsigned kSysCommandMinimise = 0xF020;  // SC_MINIMIZE
constexpr unsigned kSysCommandRestore = 0xF120;   // SC_RESTORE
constexpr unsigned kRedrawInvalidateEraseNow = 0x105;  // RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW

struct Size {
    int width = 0;
    int height = 0;
};

// What a running modal dialog hears. The framework's dialog class implements it.
class DialogEvents {
public:
    virtual ~DialogEvents() = default;
    // The dialog window exists; comes before InitDialog.
    virtual void Attached(WindowHandle dialog) = 0;
    // WM_INITDIALOG; true lets the system focus the first tab stop.
    virtual bool InitDialog() = 0;
    // WM_COMMAND from a control (BN_CLICKED) or from IDOK / IDCANCEL.
    virtual void Command(int controlId, int notification) = 0;
    // WM_SYSCOMMAND; false asks for the default processing.
    virtual bool SysCommand(unsigned commandId, long parameter) = 0;
    // WM_PAINT; false asks for the default painting.
    virtual bool Paint() = 0;
    // WM_QUERYDRAGICON; IconHandle::None asks for the default answer.
    virtual IconHandle QueryDragIcon() = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // DialogBoxParamA on the template; returns the result given to EndDialog.
    virtual int RunModal(int templateId, WindowHandle parent, DialogEvents& events) = 0;
    // EndDialog.
    virtual void EndDialog(WindowHandle dialog, int result) = 0;

    // Controls of a dialog by id.
    virtual int GetCheck(WindowHandle dialog, int controlId) = 0;              // BM_GETCHECK
    virtual void SetCheck(WindowHandle dialog, int controlId, int state) = 0;  // BM_SETCHECK
    virtual void ShowItem(WindowHandle dialog, int controlId, bool show) = 0;  // ShowWindow
    virtual void EnableItem(WindowHandle dialog, int controlId, bool enable) = 0;  // EnableWindow
    // RedrawWindow on the control with no rectangle and no region.
    virtual void RedrawItem(WindowHandle dialog, int controlId, unsigned flags) = 0;

    // The dialog window itself.
    virtual void ShowDialog(WindowHandle dialog, bool show) = 0;  // ShowWindow
    virtual bool IsMinimised(WindowHandle dialog) = 0;            // IsIconic
    virtual bool HasSystemMenu(WindowHandle dialog) = 0;          // GetSystemMenu(FALSE)
    virtual void AppendSystemMenuSeparator(WindowHandle dialog) = 0;
    virtual void AppendSystemMenuItem(WindowHandle dialog, unsigned commandId,
                                      const std::string& text) = 0;
    virtual void SetIcon(WindowHandle dialog, IconHandle icon, bool big) = 0;  // WM_SETICON
    virtual Size ClientSize(WindowHandle dialog) = 0;                         // GetClientRect

    // Painting, between BeginPaint and EndPaint.
    virtual PaintContext BeginPaint(WindowHandle dialog) = 0;
    // WM_ICONERASEBKGND to the dialog with the context's device context.
    virtual void EraseIconBackground(WindowHandle dialog, PaintContext context) = 0;
    virtual void DrawIcon(PaintContext context, int x, int y, IconHandle icon) = 0;
    virtual void EndPaint(WindowHandle dialog, PaintContext context) = 0;
    // GetSystemMetrics(SM_CXICON) and (SM_CYICON).
    virtual Size IconMetrics() = 0;

    // Resources of the program.
    virtual std::string LoadText(int stringId) = 0;     // LoadStringA
    virtual IconHandle LoadAppIcon(int iconId) = 0;     // LoadIconA

    // The hourglass while the installer works, and the 3-D look of controls.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void Enable3dControls() = 0;
};

}  // namespace platform
