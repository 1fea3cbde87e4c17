#include "sim/sim_dialogs.h"

#include <utility>

namespace sim {

SimDialog::SimDialog(SimContext& context, int templateId, const SimTemplate& layout,
                     platform::WindowHandle handle, platform::WindowHandle parent,
                     platform::DialogEvents& events)
    : m_context(context), m_templateId(templateId), m_layout(layout), m_handle(handle),
      m_parent(parent), m_events(events)
{
    for (const SimControlLayout& control : layout.controls)
        m_controls.push_back(Control{control});
}

SimDialog::Control& SimDialog::Get(int controlId)
{
    for (Control& control : m_controls) {
        if (control.layout.id == controlId)
            return control;
    }
    throw SimScriptError("dialog " + std::to_string(m_templateId) + " has no control " +
                         std::to_string(controlId));
}

const SimDialog::Control& SimDialog::Get(int controlId) const
{
    return const_cast<SimDialog*>(this)->Get(controlId);
}

void SimDialog::RequireOpen() const
{
    if (m_ended)
        throw SimScriptError("dialog " + std::to_string(m_templateId) + " has already ended");
}

void SimDialog::Click(int controlId)
{
    RequireOpen();
    Control& control = Get(controlId);
    if (!Clickable(controlId))
        throw SimScriptError("control " + std::to_string(controlId) + " of dialog " +
                             std::to_string(m_templateId) + " cannot be clicked now");
    m_context.Note("click", std::to_string(m_templateId) + ":" + std::to_string(controlId));

    if (control.layout.kind == SimControlKind::CheckBox) {
        control.check = control.check ? 0 : 1;
    } else if (control.layout.kind == SimControlKind::RadioButton) {
        // An automatic radio button clears the other radio buttons of its
        // group: from the control that starts the group to the next that does.
        std::size_t index = static_cast<std::size_t>(&control - m_controls.data());
        std::size_t first = index;
        while (first > 0 && !m_controls[first].layout.groupStart)
            --first;
        std::size_t last = index + 1;
        while (last < m_controls.size() && !m_controls[last].layout.groupStart)
            ++last;
        for (std::size_t i = first; i < last; ++i) {
            if (m_controls[i].layout.kind == SimControlKind::RadioButton)
                m_controls[i].check = 0;
        }
        control.check = 1;
    }
    // The click is an effect of its own: what was clicked and, for a box or
    // radio button, the state the dialog leaves it in. That state is known
    // only after the handler, which may set the box again (a box the dialog
    // keeps checked); a button's click comes before its handler's work.
    std::vector<SimEffectField> fields{
        NumberField("template", static_cast<std::uint64_t>(m_templateId)),
        NumberField("control", static_cast<std::uint64_t>(controlId)),
        TextField("text", Caption(controlId))};
    if (control.layout.kind != SimControlKind::CheckBox &&
        control.layout.kind != SimControlKind::RadioButton) {
        m_context.Effect("click", std::move(fields));
        m_events.Command(controlId, platform::kNotifyClicked);
        return;
    }
    m_events.Command(controlId, platform::kNotifyClicked);
    fields.push_back(FlagField("checked", control.check != 0));
    m_context.Effect("click", std::move(fields));
}

std::string SimDialog::Caption(int controlId) const
{
    auto caption = m_layout.captions.find(controlId);
    return caption == m_layout.captions.end() ? std::string() : caption->second;
}

void SimDialog::FocusFirstTabStop()
{
    for (const Control& control : m_controls) {
        if (control.layout.tabStop && control.visible && control.enabled) {
            m_focus = control.layout.id;
            return;
        }
    }
}

void SimDialog::PressEscape()
{
    RequireOpen();
    m_context.Note("key", std::to_string(m_templateId) + ":Esc");
    m_context.Effect("click", {NumberField("template", static_cast<std::uint64_t>(m_templateId)),
                               NumberField("control", platform::kIdCancel),
                               TextField("text", "Esc")});
    m_events.Command(platform::kIdCancel, platform::kNotifyClicked);
}

void SimDialog::SystemCommand(unsigned commandId)
{
    RequireOpen();
    m_context.Note("WM_SYSCOMMAND", std::to_string(m_templateId) + ":" + Hex(commandId));
    if (m_events.SysCommand(commandId, 0))
        return;
    // The default processing.
    m_defaultSysCommands.push_back(commandId);
    if ((commandId & 0xFFF0) == platform::kSysCommandClose)
        m_events.Command(platform::kIdCancel, platform::kNotifyClicked);
    else if ((commandId & 0xFFF0) == platform::kSysCommandMinimise)
        m_minimised = true;
    else if ((commandId & 0xFFF0) == platform::kSysCommandRestore)
        m_minimised = false;
}

void SimDialog::Repaint()
{
    RequireOpen();
    if (!m_events.Paint())
        ++m_defaultPaints;
}

platform::IconHandle SimDialog::DragIcon()
{
    RequireOpen();
    return m_events.QueryDragIcon();
}

bool SimDialog::Clickable(int controlId) const
{
    if (m_ended || !m_visible)
        return false;
    const Control& control = Get(controlId);
    return control.visible && control.enabled;
}

int SimDialog::Check(int controlId) const
{
    return Get(controlId).check;
}

bool SimDialog::ItemVisible(int controlId) const
{
    return Get(controlId).visible;
}

bool SimDialog::ItemEnabled(int controlId) const
{
    return Get(controlId).enabled;
}

int SimDialog::Redraws(int controlId) const
{
    return Get(controlId).redraws;
}

bool ClickIfPossible(SimDialog& dialog, int controlId)
{
    if (!dialog.Clickable(controlId))
        return false;
    dialog.Click(controlId);
    return true;
}

void PressOkOrCancel(SimDialog& dialog)
{
    if (!ClickIfPossible(dialog, platform::kIdOk))
        ClickIfPossible(dialog, platform::kIdCancel);
}

void SimDialogs::DefineTemplate(int templateId, const SimTemplate& layout)
{
    m_templates[templateId] = layout;
}

SimTemplate& SimDialogs::Layout(int templateId)
{
    auto layout = m_templates.find(templateId);
    if (layout == m_templates.end())
        throw SimScriptError("dialog template " + std::to_string(templateId) + " is not defined");
    return layout->second;
}

void SimDialogs::Expect(int templateId, Script script)
{
    m_scripts[templateId].push_back(std::move(script));
}

void SimDialogs::Always(int templateId, Script script)
{
    m_standing[templateId] = std::move(script);
}

SimDialog* SimDialogs::Running(int templateId)
{
    for (auto it = m_running.rbegin(); it != m_running.rend(); ++it) {
        if (it->TemplateId() == templateId && !it->Ended())
            return &*it;
    }
    return nullptr;
}

SimDialog& SimDialogs::Open(platform::WindowHandle dialog)
{
    for (SimDialog& running : m_running) {
        if (running.Handle() == dialog)
            return running;
    }
    throw SimScriptError("dialog handle used outside its modal run");
}

std::string SimDialogs::Item(const SimDialog& running, int controlId)
{
    return std::to_string(running.TemplateId()) + ":" + std::to_string(controlId);
}

std::vector<std::string> SimDialogs::UnusedScripts() const
{
    std::vector<std::string> unused;
    for (const auto& [templateId, scripts] : m_scripts) {
        if (!scripts.empty()) {
            unused.push_back("dialog " + std::to_string(templateId) + ": " +
                             std::to_string(scripts.size()) +
                             " scripted answer(s) never used");
        }
    }
    return unused;
}

SimDialogs::Script SimDialogs::NextScript(int templateId)
{
    auto queued = m_scripts.find(templateId);
    if (queued != m_scripts.end() && !queued->second.empty()) {
        Script script = std::move(queued->second.front());
        queued->second.pop_front();
        return script;
    }
    if (m_standing.count(templateId))
        return m_standing[templateId];
    throw SimScriptError("dialog " + std::to_string(templateId) + " came up without a script");
}

int SimDialogs::RunModal(int templateId, platform::WindowHandle parent,
                         platform::DialogEvents& events)
{
    auto layout = m_templates.find(templateId);
    if (layout == m_templates.end())
        throw SimScriptError("dialog template " + std::to_string(templateId) + " is not defined");
    // A dialog that cannot be made never comes up: DialogBoxParamA answers -1.
    if (!m_context.Succeeds("DialogBoxParamA", std::to_string(templateId), error::kNotEnoughMemory))
        return -1;
    m_context.Effect("dialog", {NumberField("template", static_cast<std::uint64_t>(templateId)),
                                TextField("title", layout->second.title)});
    m_shown.push_back(templateId);

    auto handle = static_cast<platform::WindowHandle>(m_nextHandle++);
    m_running.emplace_back(m_context, templateId, layout->second, handle, parent, events);
    SimDialog& dialog = m_running.back();
    // The run also ends when the program exits from inside the dialog.
    struct PopWhenDone {
        std::list<SimDialog>& running;
        ~PopWhenDone() { running.pop_back(); }
    } popWhenDone{m_running};

    events.Attached(handle);
    const bool focusFirstTabStop = events.InitDialog();
    if (!dialog.Ended()) {
        dialog.m_visible = true;
        if (focusFirstTabStop)
            dialog.FocusFirstTabStop();
        NextScript(templateId)(dialog);
        if (!dialog.Ended())
            throw SimScriptError("dialog " + std::to_string(templateId) +
                                 " is still open after its script");
    }
    return dialog.Result();
}

void SimDialogs::EndDialog(platform::WindowHandle dialog, int result)
{
    SimDialog& running = Open(dialog);
    std::string detail = std::to_string(running.TemplateId()) + " " + std::to_string(result);
    // A dialog that is not ended stays up and keeps running.
    if (!m_context.Succeeds("EndDialog", detail, error::kInvalidWindowHandle))
        return;
    running.m_ended = true;
    running.m_result = result;
}

int SimDialogs::GetCheck(platform::WindowHandle dialog, int controlId)
{
    SimDialog& running = Open(dialog);
    SimDialog::Control& control = running.Get(controlId);
    std::string detail = Item(running, controlId);
    // A message that cannot be sent answers 0, BST_UNCHECKED.
    if (!m_context.Succeeds("BM_GETCHECK", detail, error::kInvalidWindowHandle))
        return 0;
    return control.check;
}

void SimDialogs::SetCheck(platform::WindowHandle dialog, int controlId, int state)
{
    SimDialog::Control& control = Open(dialog).Get(controlId);
    std::string detail = std::to_string(controlId) + " " + std::to_string(state);
    if (!m_context.Succeeds("BM_SETCHECK", detail, error::kInvalidWindowHandle))
        return;
    control.check = state;
}

void SimDialogs::ShowItem(platform::WindowHandle dialog, int controlId, bool show)
{
    SimDialog& running = Open(dialog);
    SimDialog::Control& control = running.Get(controlId);
    std::string detail = Item(running, controlId) + (show ? " SW_SHOW" : " SW_HIDE");
    if (!m_context.Succeeds("ShowWindow", detail, error::kInvalidWindowHandle))
        return;
    control.visible = show;
}

void SimDialogs::EnableItem(platform::WindowHandle dialog, int controlId, bool enable)
{
    SimDialog& running = Open(dialog);
    SimDialog::Control& control = running.Get(controlId);
    std::string detail = Item(running, controlId) + (enable ? " TRUE" : " FALSE");
    if (!m_context.Succeeds("EnableWindow", detail, error::kInvalidWindowHandle))
        return;
    control.enabled = enable;
}

void SimDialogs::RedrawItem(platform::WindowHandle dialog, int controlId, unsigned flags)
{
    SimDialog::Control& control = Open(dialog).Get(controlId);
    std::string detail = std::to_string(controlId) + " " + Hex(flags);
    if (!m_context.Succeeds("RedrawWindow", detail, error::kInvalidWindowHandle))
        return;
    ++control.redraws;
}

void SimDialogs::ShowDialog(platform::WindowHandle dialog, bool show)
{
    SimDialog& running = Open(dialog);
    std::string detail = std::to_string(running.TemplateId()) + (show ? " SW_SHOW" : " SW_HIDE");
    if (!m_context.Succeeds("ShowWindow", detail, error::kInvalidWindowHandle))
        return;
    running.m_visible = show;
}

bool SimDialogs::IsMinimised(platform::WindowHandle dialog)
{
    SimDialog& running = Open(dialog);
    if (!m_context.Succeeds("IsIconic", std::to_string(running.TemplateId()),
                            error::kInvalidWindowHandle))
        return false;
    return running.m_minimised;
}

bool SimDialogs::HasSystemMenu(platform::WindowHandle dialog)
{
    SimDialog& running = Open(dialog);
    // GetSystemMenu answers NULL.
    if (!m_context.Succeeds("GetSystemMenu", std::to_string(running.TemplateId()),
                            error::kInvalidWindowHandle))
        return false;
    return running.m_layout.systemMenu;
}

void SimDialogs::AppendSystemMenuSeparator(platform::WindowHandle dialog)
{
    SimDialog& running = Open(dialog);
    if (!m_context.Succeeds("AppendMenuA", "MF_SEPARATOR", error::kNotEnoughMemory))
        return;
    running.m_systemMenu.push_back({0, std::string()});
}

void SimDialogs::AppendSystemMenuItem(platform::WindowHandle dialog, unsigned commandId,
                                      const std::string& text)
{
    SimDialog& running = Open(dialog);
    std::string detail = Hex(commandId) + " " + text;
    if (!m_context.Succeeds("AppendMenuA", detail, error::kNotEnoughMemory))
        return;
    running.m_systemMenu.push_back({commandId, text});
}

void SimDialogs::SetIcon(platform::WindowHandle dialog, platform::IconHandle icon, bool big)
{
    SimDialog& running = Open(dialog);
    const char* which = big ? "ICON_BIG" : "ICON_SMALL";
    if (!m_context.Succeeds("WM_SETICON", which, error::kInvalidWindowHandle))
        return;
    (big ? running.m_bigIcon : running.m_smallIcon) = icon;
}

platform::Size SimDialogs::ClientSize(platform::WindowHandle dialog)
{
    SimDialog& running = Open(dialog);
    // GetClientRect leaves the caller's empty rectangle.
    if (!m_context.Succeeds("GetClientRect", std::to_string(running.TemplateId()),
                            error::kInvalidWindowHandle))
        return platform::Size{};
    return running.m_layout.clientSize;
}

platform::PaintContext SimDialogs::BeginPaint(platform::WindowHandle dialog)
{
    SimDialog& running = Open(dialog);
    // BeginPaint answers NULL: there is nothing to paint on.
    if (m_context.Fails("BeginPaint", std::to_string(running.TemplateId()),
                        error::kInvalidWindowHandle))
        return static_cast<platform::PaintContext>(0);
    m_context.Record("BeginPaint", "");
    std::uintptr_t context = m_nextPaint++;
    m_paints[context] = dialog;
    return static_cast<platform::PaintContext>(context);
}

void SimDialogs::EraseIconBackground(platform::WindowHandle dialog, platform::PaintContext)
{
    SimDialog& running = Open(dialog);
    if (!m_context.Succeeds("SendMessageA", "WM_ICONERASEBKGND", error::kInvalidWindowHandle))
        return;
    ++running.m_erases;
}

void SimDialogs::DrawIcon(platform::PaintContext context, int x, int y, platform::IconHandle icon)
{
    std::string detail = std::to_string(x) + "," + std::to_string(y);
    if (m_context.Fails("DrawIcon", detail, error::kInvalidHandle))
        return;
    auto paint = m_paints.find(static_cast<std::uintptr_t>(context));
    if (paint == m_paints.end()) {
        // Without a device context there is nothing to draw on.
        m_context.Record("DrawIcon", detail + " (no paint context)");
        m_context.lastError = error::kInvalidHandle;
        return;
    }
    m_context.Record("DrawIcon", detail);
    Open(paint->second).m_drawn.push_back({x, y, icon});
}

void SimDialogs::EndPaint(platform::WindowHandle, platform::PaintContext context)
{
    m_paints.erase(static_cast<std::uintptr_t>(context));
    m_context.Release("EndPaint", "");
}

platform::Size SimDialogs::IconMetrics()
{
    // GetSystemMetrics answers 0.
    if (!m_context.Succeeds("GetSystemMetrics", "SM_CXICON SM_CYICON"))
        return platform::Size{};
    return iconMetrics;
}

std::string SimDialogs::LoadText(int stringId)
{
    std::string detail = std::to_string(stringId);
    if (m_context.Fails("LoadStringA", detail, error::kResourceNameNotFound))
        return std::string();
    auto text = strings.find(stringId);
    m_context.Record("LoadStringA", detail + (text == strings.end() ? " (none)" : ""));
    if (text == strings.end()) {
        m_context.lastError = error::kResourceNameNotFound;
        return std::string();
    }
    return text->second;
}

platform::IconHandle SimDialogs::LoadAppIcon(int iconId)
{
    std::string detail = std::to_string(iconId);
    if (m_context.Fails("LoadIconA", detail, error::kResourceNameNotFound))
        return platform::IconHandle::None;
    bool exists = icons.count(iconId) != 0;
    m_context.Record("LoadIconA", detail + (exists ? "" : " (none)"));
    if (!exists) {
        m_context.lastError = error::kResourceNameNotFound;
        return platform::IconHandle::None;
    }
    return static_cast<platform::IconHandle>(0x5000 + iconId);
}

// The framework keeps the count of its wait cursors itself: a cursor that
// cannot be loaded or set leaves the shape as it was, and the count the same.
void SimDialogs::BeginWaitCursor()
{
    ++m_waitCursorDepth;
    m_context.Succeeds("BeginWaitCursor", "");
}

void SimDialogs::EndWaitCursor()
{
    --m_waitCursorDepth;
    m_context.Release("EndWaitCursor", "");
}

void SimDialogs::Enable3dControls()
{
    m_context.Succeeds("Enable3dControlsStatic", "");
}

}  // namespace sim
