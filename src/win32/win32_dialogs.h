#pragma once

#include <memory>

#include "platform/dialogs.h"
#include "win32/small_map.h"

namespace win32 {

class Win32Dialogs : public platform::Dialogs {
public:
    Win32Dialogs();
    ~Win32Dialogs() override;
    Win32Dialogs(const Win32Dialogs&) = delete;
    Win32Dialogs& operator=(const Win32Dialogs&) = delete;

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
    void DrawIcon(platform::PaintContext context, int x, int y,
                  platform::IconHandle icon) override;
    void EndPaint(platform::WindowHandle dialog, platform::PaintContext context) override;
    platform::Size IconMetrics() override;

    std::string LoadText(int stringId) override;
    platform::IconHandle LoadAppIcon(int iconId) override;

    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Enable3dControls() override;

private:
    // The PAINTSTRUCT of each open paint, by its device context.
    struct PaintRecord;
    SmallMap<platform::PaintContext, std::unique_ptr<PaintRecord>> m_paints;

    int m_waitDepth = 0;
    void* m_cursorBeforeWait = nullptr;
};

}  // namespace win32
