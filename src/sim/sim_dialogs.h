// Modal dialogs of the simulated machine and the scripted user who answers
// them. A test describes each template's controls (ids, kinds, groups) and
// queues what the user does when that dialog comes up; the simulation runs
// the dialog's handlers as Windows would, automatic check boxes and radio
// groups included.
#pragma once

#include <functional>
#include <list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "sim/sim_context.h"

namespace sim {

enum class SimControlKind { PushButton, CheckBox, RadioButton, Static, GroupBox, Icon };

struct SimControlLayout {
    int id = -1;  // -1 for controls without an id
    SimControlKind kind = SimControlKind::Static;
    bool groupStart = false;
    bool tabStop = false;
};

struct SimTemplate {
    bool systemMenu = true;
    platform::Size clientSize{338, 207};
    std::vector<SimControlLayout> controls;
    // The captions of the dialog and of the controls a user clicks (by id),
    // as its effects report them.
    std::string title;
    std::map<int, std::string> captions;
};

struct SimDrawnIcon {
    int x = 0;
    int y = 0;
    platform::IconHandle icon{};
};

// One running dialog, as the user sees and drives it.
class SimDialog {
public:
    SimDialog(SimContext& context, int templateId, const SimTemplate& layout,
              platform::WindowHandle handle, platform::WindowHandle parent,
              platform::DialogEvents& events);

    int TemplateId() const { return m_templateId; }
    platform::WindowHandle Handle() const { return m_handle; }
    platform::WindowHandle Parent() const { return m_parent; }

    // What the user does. A click on a missing, hidden or disabled control is
    // a mistake in the test and throws.
    void Click(int controlId);
    void PressOk() { Click(platform::kIdOk); }
    void PressCancel() { Click(platform::kIdCancel); }
    void PressEscape();
    void CloseBox() { SystemCommand(platform::kSysCommandClose); }
    void SystemCommand(unsigned commandId);
    void Repaint();
    platform::IconHandle DragIcon();

    // What the user sees.
    // Whether a user could click the control now: the dialog on screen, the
    // control shown and enabled.
    bool Clickable(int controlId) const;
    int Check(int controlId) const;
    bool ItemVisible(int controlId) const;
    bool ItemEnabled(int controlId) const;
    int Redraws(int controlId) const;
    // The dialog manager shows a modal dialog once WM_INITDIALOG has been
    // handled; until then it is not on screen.
    bool Visible() const { return m_visible; }
    // The control with the keyboard focus. When the dialog's WM_INITDIALOG
    // handler answers TRUE, the dialog manager gives it to the first control
    // in template order that is a tab stop, visible and enabled; otherwise no
    // control has it.
    std::optional<int> Focus() const { return m_focus; }
    bool Minimised() const { return m_minimised; }
    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }
    // The items appended to the system menu; a separator shows as id 0 and no text.
    const std::vector<std::pair<unsigned, std::string>>& SystemMenuItems() const {
        return m_systemMenu;
    }
    platform::IconHandle BigIcon() const { return m_bigIcon; }
    platform::IconHandle SmallIcon() const { return m_smallIcon; }
    const std::vector<SimDrawnIcon>& DrawnIcons() const { return m_drawn; }
    int IconBackgroundErases() const { return m_erases; }
    int DefaultPaints() const { return m_defaultPaints; }
    std::vector<unsigned> DefaultSysCommands() const { return m_defaultSysCommands; }

private:
    friend class SimDialogs;
    struct Control {
        SimControlLayout layout;
        int check = 0;
        bool visible = true;
        bool enabled = true;
        int redraws = 0;
    };
    Control& Get(int controlId);
    const Control& Get(int controlId) const;
    void RequireOpen() const;
    void FocusFirstTabStop();
    std::string Caption(int controlId) const;

    SimContext& m_context;
    int m_templateId;
    SimTemplate m_layout;
    platform::WindowHandle m_handle;
    platform::WindowHandle m_parent;
    platform::DialogEvents& m_events;
    std::vector<Control> m_controls;
    bool m_visible = false;
    std::optional<int> m_focus;
    bool m_minimised = false;
    bool m_ended = false;
    int m_result = 0;
    std::vector<std::pair<unsigned, std::string>> m_systemMenu;
    platform::IconHandle m_bigIcon{};
    platform::IconHandle m_smallIcon{};
    std::vector<SimDrawnIcon> m_drawn;
    int m_erases = 0;
    int m_defaultPaints = 0;
    std::vector<unsigned> m_defaultSysCommands;
};

// The user's moves: a click only where the control is Clickable. Returns
// whether it happened.
bool ClickIfPossible(SimDialog& dialog, int controlId);
// OK, or Cancel when OK cannot be pressed.
void PressOkOrCancel(SimDialog& dialog);

class SimDialogs : public platform::Dialogs {
public:
    explicit SimDialogs(SimContext& context) : m_context(context) {}

    using Script = std::function<void(SimDialog&)>;

    // The machine's side, for tests.
    void DefineTemplate(int templateId, const SimTemplate& layout);
    // A defined template, for a test to change before the dialog comes up.
    SimTemplate& Layout(int templateId);
    // What the user does the next time this template comes up. Scripts queue
    // per template; a template without a queued script uses its standing
    // script, and without one either the run stops with SimScriptError.
    void Expect(int templateId, Script script);
    void Always(int templateId, Script script);
    std::map<int, std::string> strings;  // the string table
    std::set<int> icons;                 // the icon resources
    platform::Size iconMetrics{32, 32};
    // The templates run so far, in order.
    const std::vector<int>& Shown() const { return m_shown; }
    // The innermost running dialog on that template, or null.
    SimDialog* Running(int templateId);
    int WaitCursorDepth() const { return m_waitCursorDepth; }
    // Paint contexts begun and not ended.
    std::size_t OpenPaintContexts() const { return m_paints.size(); }
    // The queued scripts that no dialog came up for, as text.
    std::vector<std::string> UnusedScripts() const;

    // platform::Dialogs
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
    void EraseIconBackground(platform::WindowHandle dialog, platform::PaintContext context) override;
    void DrawIcon(platform::PaintContext context, int x, int y, platform::IconHandle icon) override;
    void EndPaint(platform::WindowHandle dialog, platform::PaintContext context) override;
    platform::Size IconMetrics() override;
    std::string LoadText(int stringId) override;
    platform::IconHandle LoadAppIcon(int iconId) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Enable3dControls() override;

private:
    SimDialog& Open(platform::WindowHandle dialog);
    // "template:control", for the record.
    static std::string Item(const SimDialog& running, int controlId);
    Script NextScript(int templateId);

    SimContext& m_context;
    std::map<int, SimTemplate> m_templates;
    std::map<int, std::list<Script>> m_scripts;
    std::map<int, Script> m_standing;
    std::list<SimDialog> m_running;  // innermost last
    std::vector<int> m_shown;
    std::uintptr_t m_nextHandle = 0x30000;
    int m_waitCursorDepth = 0;
    std::map<std::uintptr_t, platform::WindowHandle> m_paints;  // open contexts: their dialog
    std::uintptr_t m_nextPaint = 0xDC00;
};

}  // namespace sim
