#include "platform/sim/sim_dialogs.h"

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
    if (!control.visible || !control.enabled || !m_visible)
        throw SimScriptError("control " + std::to_string(controlId) + " of dialog " +
                             std::to_string(m_templateId) + " cannot be clicked now");
    m_context.Record("click", std::to_string(m_templateId) + ":" + std::to_string(controlId));

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
    m_events.Command(controlId, platform::kNotifyClicked);
}

void SimDialog::PressEscape()
{
    RequireOpen();
    m_context.Record("key", std::to_string(m_templateId) + ":Esc");
    m_events.Command(platform::kIdCancel, platform::kNotifyClicked);
}

void SimDialog::SystemCommand(unsigned commandId)
{
    RequireOpen();
    m_context.Record("WM_SYSCOMMAND", std::to_string(m_templateId) + ":" + Hex(commandId));
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

int SimDialogs::RunModal(int templateId, platform::WindowHandle parent,
                         platform::DialogEvents& events)
{
    auto layout = m_templates.find(templateId);
    if (layout == m_templates.end())
        throw SimScriptError("dialog template " + std::to_string(templateId) + " is not defined");
    m_context.Record("DialogBoxParamA", std::to_string(templateId));
    m_shown.push_back(templateId);

    auto handle = static_cast<platform::WindowHandle>(m_nextHandle++);
    m_running.emplace_back(m_context, templateId, layout->second, handle, parent, events);
    SimDialog& dialog = m_running.back();

    events.Attached(handle);
    events.InitDialog();
    if (!dialog.Ended()) {
        dialog.m_visible = true;
        Script script;
        auto queued = m_scripts.find(templateId);
        if (queued != m_scripts.end() && !queued->second.empty()) {
            script = std::move(queued->second.front());
            queued->second.pop_front();
        } else if (m_standing.count(templateId)) {
            script = m_standing[templateId];
        } else {
            throw SimScriptError("dialog " + std::to_string(templateId) +
                                 " came up without a script");
        }
        script(dialog);
        if (!dialog.Ended())
            throw SimScriptError("dialog " + std::to_string(templateId) +
                                 " is still open after its script");
    }
    int result = dialog.Result();
    m_running.pop_back();
    return result;
}

void SimDialogs::EndDialog(platform::WindowHandle dialog, int result)
{
    SimDialog& running = Open(dialog);
    m_context.Record("EndDialog", std::to_string(running.TemplateId()) + " " +
                                      std::to_string(result));
    running.m_ended = true;
    running.m_result = result;
}

int SimDialogs::GetCheck(platform::WindowHandle dialog, int controlId)
{
    return Open(dialog).Get(controlId).check;
}

void SimDialogs::SetCheck(platform::WindowHandle dialog, int controlId, int state)
{
    SimDialog& running = Open(dialog);
    m_context.Record("BM_SETCHECK", std::to_string(controlId) + " " + std::to_string(state));
    running.Get(controlId).check = state;
}

void SimDialogs::ShowItem(platform::WindowHandle dialog, int controlId, bool show)
{
    Open(dialog).Get(controlId).visible = show;
}

void SimDialogs::EnableItem(platform::WindowHandle dialog, int controlId, bool enable)
{
    Open(dialog).Get(controlId).enabled = enable;
}

void SimDialogs::RedrawItem(platform::WindowHandle dialog, int controlId, unsigned flags)
{
    SimDialog& running = Open(dialog);
    m_context.Record("RedrawWindow", std::to_string(controlId) + " " + Hex(flags));
    ++running.Get(controlId).redraws;
}

void SimDialogs::ShowDialog(platform::WindowHandle dialog, bool show)
{
    SimDialog& running = Open(dialog);
    m_context.Record("ShowWindow", std::to_string(running.TemplateId()) +
                                       (show ? " SW_SHOW" : " SW_HIDE"));
    running.m_visible = show;
}

bool SimDialogs::IsMinimised(platform::WindowHandle dialog)
{
    return Open(dialog).m_minimised;
}

bool SimDialogs::HasSystemMenu(platform::WindowHandle dialog)
{
    return Open(dialog).m_layout.systemMenu;
}

void SimDialogs::AppendSystemMenuSeparator(platform::WindowHandle dialog)
{
    Open(dialog).m_systemMenu.push_back({0, std::string()});
}

void SimDialogs::AppendSystemMenuItem(platform::WindowHandle dialog, unsigned commandId,
                                      const std::string& text)
{
    Open(dialog).m_systemMenu.push_back({commandId, text});
}

void SimDialogs::SetIcon(platform::WindowHandle dialog, platform::IconHandle icon, bool big)
{
    SimDialog& running = Open(dialog);
    m_context.Record("WM_SETICON", big ? "ICON_BIG" : "ICON_SMALL");
    (big ? running.m_bigIcon : running.m_smallIcon) = icon;
}

platform::Size SimDialogs::ClientSize(platform::WindowHandle dialog)
{
    return Open(dialog).m_layout.clientSize;
}

platform::PaintContext SimDialogs::BeginPaint(platform::WindowHandle dialog)
{
    m_painting = &Open(dialog);
    m_context.Record("BeginPaint", "");
    return static_cast<platform::PaintContext>(0xDC);
}

void SimDialogs::EraseIconBackground(platform::WindowHandle dialog, platform::PaintContext)
{
    m_context.Record("SendMessageA", "WM_ICONERASEBKGND");
    ++Open(dialog).m_erases;
}

void SimDialogs::DrawIcon(platform::PaintContext, int x, int y, platform::IconHandle icon)
{
    if (!m_painting)
        throw SimScriptError("DrawIcon outside BeginPaint/EndPaint");
    m_context.Record("DrawIcon", std::to_string(x) + "," + std::to_string(y));
    m_painting->m_drawn.push_back({x, y, icon});
}

void SimDialogs::EndPaint(platform::WindowHandle, platform::PaintContext)
{
    m_context.Record("EndPaint", "");
    m_painting = nullptr;
}

platform::Size SimDialogs::IconMetrics()
{
    return iconMetrics;
}

std::string SimDialogs::LoadText(int stringId)
{
    auto text = strings.find(stringId);
    return text == strings.end() ? std::string() : text->second;
}

platform::IconHandle SimDialogs::LoadAppIcon(int iconId)
{
    if (!icons.count(iconId))
        return platform::IconHandle::None;
    return static_cast<platform::IconHandle>(0x5000 + iconId);
}

void SimDialogs::BeginWaitCursor()
{
    ++m_waitCursorDepth;
    m_context.Record("BeginWaitCursor", "");
}

void SimDialogs::EndWaitCursor()
{
    --m_waitCursorDepth;
    m_context.Record("EndWaitCursor", "");
}

void SimDialogs::Enable3dControls()
{
    m_context.Record("Enable3dControlsStatic", "");
}

}  // namespace sim
