#include "logging/logged_dialogs.h"

#include "logging/logged_desktop.h"

namespace logging {

namespace {

// The restart prompt's template; the option dialogs are the others.
constexpr int kRestartPromptTemplate = 132;

}  // namespace

// Dialogs show as "dialog", their controls by id: the installer runs one
// dialog at a time.
void LoggedDialogs::Plain(const char* call)
{
    if (Recording())
        m_log.Call(0, "%s", call);
}

void LoggedDialogs::OnItem(const char* function, int controlId, const char* argument)
{
    if (Recording())
        m_log.Call(0, "%s(item %d of the dialog, %s)", function, controlId, argument);
}

int LoggedDialogs::RunModal(int templateId, platform::WindowHandle parent,
                            platform::DialogEvents& events)
{
    // Everything the dialog does comes between its two lines.
    if (Recording())
        m_log.Call(0, "DialogBoxParamA(%d, %s) begins", templateId, m_log.WindowText(parent));
    const int result = m_inner.RunModal(templateId, parent, events);
    if (!Recording())
        return result;
    m_log.Call(ErrorIf(result == -1), "DialogBoxParamA(%d, %s) = %d (%s)", templateId,
               m_log.WindowText(parent), result, DialogResultText(result));
    if (templateId == kRestartPromptTemplate)
        m_log.Outcome().Saw(Event::RestartPromptEnded);
    else if (result == platform::kIdCancel)
        m_log.Outcome().Saw(Event::OptionsDialogCancelled);
    return result;
}

void LoggedDialogs::EndDialog(platform::WindowHandle dialog, int result)
{
    m_inner.EndDialog(dialog, result);
    if (Recording())
        m_log.Call(0, "EndDialog(dialog, %s)", DialogResultText(result));
}

int LoggedDialogs::GetCheck(platform::WindowHandle dialog, int controlId)
{
    const int state = m_inner.GetCheck(dialog, controlId);
    if (Recording())
        m_log.Call(0, "SendDlgItemMessageA(dialog, %d, BM_GETCHECK) = %d", controlId, state);
    return state;
}

void LoggedDialogs::SetCheck(platform::WindowHandle dialog, int controlId, int state)
{
    m_inner.SetCheck(dialog, controlId, state);
    if (Recording())
        m_log.Call(0, "SendDlgItemMessageA(dialog, %d, BM_SETCHECK, %d)", controlId, state);
}

void LoggedDialogs::ShowItem(platform::WindowHandle dialog, int controlId, bool show)
{
    m_inner.ShowItem(dialog, controlId, show);
    OnItem("ShowWindow", controlId, show ? "SW_SHOW" : "SW_HIDE");
}

void LoggedDialogs::EnableItem(platform::WindowHandle dialog, int controlId, bool enable)
{
    m_inner.EnableItem(dialog, controlId, enable);
    OnItem("EnableWindow", controlId, BoolText(enable));
}

void LoggedDialogs::RedrawItem(platform::WindowHandle dialog, int controlId, unsigned flags)
{
    m_inner.RedrawItem(dialog, controlId, flags);
    OnItem("RedrawWindow", controlId, "RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW");
}

void LoggedDialogs::ShowDialog(platform::WindowHandle dialog, bool show)
{
    m_inner.ShowDialog(dialog, show);
    if (Recording())
        m_log.Call(0, "ShowWindow(dialog, %s)", show ? "SW_SHOW" : "SW_HIDE");
}

bool LoggedDialogs::IsMinimised(platform::WindowHandle dialog)
{
    const bool minimised = m_inner.IsMinimised(dialog);
    if (Recording())
        m_log.Call(0, "IsIconic(dialog) = %s", BoolText(minimised));
    return minimised;
}

bool LoggedDialogs::HasSystemMenu(platform::WindowHandle dialog)
{
    const bool hasMenu = m_inner.HasSystemMenu(dialog);
    if (Recording())
        m_log.Call(0, "GetSystemMenu(dialog, FALSE) = %s", hasMenu ? "a menu" : "NULL");
    return hasMenu;
}

void LoggedDialogs::AppendSystemMenuSeparator(platform::WindowHandle dialog)
{
    m_inner.AppendSystemMenuSeparator(dialog);
    Plain("AppendMenuA(system menu, MF_SEPARATOR)");
}

void LoggedDialogs::AppendSystemMenuItem(platform::WindowHandle dialog, unsigned commandId,
                                         const std::string& text)
{
    m_inner.AppendSystemMenuItem(dialog, commandId, text);
    if (Recording())
        m_log.Call(0, "AppendMenuA(system menu, MF_STRING, 0x%X, \"%s\")", commandId,
                   text.c_str());
}

void LoggedDialogs::SetIcon(platform::WindowHandle dialog, platform::IconHandle icon, bool big)
{
    m_inner.SetIcon(dialog, icon, big);
    if (Recording())
        m_log.Call(0, "SendMessageA(dialog, WM_SETICON, %s, icon)", big ? "ICON_BIG" : "ICON_SMALL");
}

platform::Size LoggedDialogs::ClientSize(platform::WindowHandle dialog)
{
    const platform::Size size = m_inner.ClientSize(dialog);
    Plain("GetClientRect(dialog)");
    return size;
}

platform::PaintContext LoggedDialogs::BeginPaint(platform::WindowHandle dialog)
{
    const platform::PaintContext context = m_inner.BeginPaint(dialog);
    Plain("BeginPaint(dialog)");
    return context;
}

void LoggedDialogs::EraseIconBackground(platform::WindowHandle dialog,
                                        platform::PaintContext context)
{
    m_inner.EraseIconBackground(dialog, context);
    Plain("SendMessageA(dialog, WM_ICONERASEBKGND)");
}

void LoggedDialogs::DrawIcon(platform::PaintContext context, int x, int y,
                             platform::IconHandle icon)
{
    m_inner.DrawIcon(context, x, y, icon);
    Plain("DrawIcon()");
}

void LoggedDialogs::EndPaint(platform::WindowHandle dialog, platform::PaintContext context)
{
    m_inner.EndPaint(dialog, context);
    Plain("EndPaint(dialog)");
}

platform::Size LoggedDialogs::IconMetrics()
{
    const platform::Size size = m_inner.IconMetrics();
    Plain("GetSystemMetrics(SM_CXICON and SM_CYICON)");
    return size;
}

std::string LoggedDialogs::LoadText(int stringId)
{
    std::string text = m_inner.LoadText(stringId);
    if (Recording())
        m_log.Call(ErrorIf(text.empty()), "LoadStringA(NULL, %d) = \"%s\"", stringId,
                   text.c_str());
    return text;
}

platform::IconHandle LoggedDialogs::LoadAppIcon(int iconId)
{
    const platform::IconHandle icon = m_inner.LoadAppIcon(iconId);
    const bool loaded = icon != platform::IconHandle::None;
    if (Recording())
        m_log.Call(ErrorIf(!loaded), "LoadIconA(NULL, %d) = %s", iconId, loaded ? "an icon" : "NULL");
    return icon;
}

void LoggedDialogs::BeginWaitCursor()
{
    m_inner.BeginWaitCursor();
    Plain("BeginWaitCursor()");
}

void LoggedDialogs::EndWaitCursor()
{
    m_inner.EndWaitCursor();
    Plain("EndWaitCursor()");
}

void LoggedDialogs::Enable3dControls()
{
    m_inner.Enable3dControls();
    Plain("Enable3dControlsStatic()");
}

}  // namespace logging
