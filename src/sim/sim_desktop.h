// Top-level windows of other programs and the message boxes the installer shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "sim/sim_context.h"

namespace sim {

struct SimMessageBox {
    platform::WindowHandle owner = platform::kNoWindow;
    std::string text;
    std::string caption;
    unsigned flags = 0;
    std::uint64_t shownAt = 0;
};

struct SimWindow {
    platform::WindowHandle handle{};
    std::string title;
    bool closesOnRequest = true;  // false: it handles WM_CLOSE but stays
    bool open = true;
    int closeRequests = 0;
};

class SimDesktop : public platform::Desktop {
public:
    explicit SimDesktop(SimContext& context) : m_context(context) {}

    // The machine's side, for tests.
    platform::WindowHandle AddWindow(const std::string& title, bool closesOnRequest = true);
    const SimWindow* Window(const std::string& title) const;  // the first with that title
    bool IsOpen(const std::string& title) const;
    int CloseRequests(const std::string& title) const;
    const std::vector<SimMessageBox>& MessageBoxes() const { return m_messageBoxes; }
    // Runs while a message box is up, before the user's OK.
    std::function<void(const SimMessageBox&)> onMessageBox;

    // platform::Desktop
    std::optional<platform::WindowHandle> FindTopLevel(const std::string& title) override;
    void SendClose(platform::WindowHandle window) override;
    int ShowMessage(platform::WindowHandle owner, const std::string& text,
                    const std::string& caption, unsigned flags) override;
    platform::WindowHandle DesktopWindow() override;

    static constexpr platform::WindowHandle kDesktop = static_cast<platform::WindowHandle>(0x10010);

private:
    SimContext& m_context;
    std::vector<SimWindow> m_windows;
    std::vector<SimMessageBox> m_messageBoxes;
    std::uintptr_t m_nextHandle = 0x20000;
};

}  // namespace sim
