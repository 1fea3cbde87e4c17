#pragma once

#include "platform/dialogs.h"
#include "logging/logged_service.h"

namespace logging {

class LoggedDialogs : public platform::Dialogs, private LoggedService {
public:
    LoggedDialogs(platform::Dialogs& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

    int RunModal(int templateId, platform::WindowHandle parent,
                 platform::DialogEvents& events) override;
    void EndDialog(platform::WindowHandle dialog, int result) override;
    int GetCheck(platform::WindowHandle dialog, int controlId) override;
    void SetCheck(platform::WindowHandle dialog, int controlId, int state) override;
    void ShowItem(platform::WindowHandle dialog, int controlId, bool show) override;
    void EnableItem(platform::WindowHandle dialog, int controlId, bool enable) override;
    void RedrawItem(platform::WindowHandle dialog, int controlId, unsigned flags) override;
    void ShowDialog(platform::WindowHandle dialog, bool show) override;
    bool IsMinimised(platform::WindowHandle dialog) override;
    bool HasSystemMenu(platform::WindowHandle dialog) override;
    void AppendSystemMenuSeparator(platform::WindowHandle dialog) override;
    void AppendSystemMenuItem(platform::WindowHandle dialog, unsigned commandId,
                              const std::string& text) override;
    void SetIcon(platform::WindowHandle dialog, platform::IconHandle icon, bool big) override;
    platform::Size ClientSize(platform::WindowHandle dialog) override;
    platform::PaintContext BeginPaint(platform::WindowHandle dialog) override;
    void EraseIconBackground(platform::WindowHandle dialog,
                             platform::PaintContext context) override;
    void DrawIcon(platform::PaintContext context, int x, int y, platform::IconHandle icon) override;
    void EndPaint(platform::WindowHandle dialog, platform::PaintContext context) override;
    platform::Size IconMetrics() override;
    std::string LoadText(int stringId) override;
    platform::IconHandle LoadAppIcon(int iconId) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Enable3dControls() override;

private:
    // A call on a control of the dialog that returns nothing.
    void OnItem(const char* function, int controlId, const char* argument);
    void Plain(const char* call);

    platform::Dialogs& m_inner;
};

}  // namespace logging
