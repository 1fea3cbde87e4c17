#include "win32/win32_dialogs.h"

#include <windows.h>

#include <vector>

#include "win32/win32_handles.h"

namespace win32 {

struct Win32Dialogs::PaintRecord {
    PAINTSTRUCT paint;
};

namespace {

platform::DialogEvents* EventsOf(HWND dialog)
{
    return reinterpret_cast<platform::DialogEvents*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Routes the messages the framework's dialogs handle to their events. A
// FALSE return lets the system's dialog manager do its default processing.
INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* events = reinterpret_cast<platform::DialogEvents*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        events->Attached(ToOpaque<platform::WindowHandle>(dialog));
        return events->InitDialog() ? TRUE : FALSE;
    }

    // Messages before WM_INITDIALOG (WM_SETFONT and the like) find no events.
    platform::DialogEvents* events = EventsOf(dialog);
    if (!events)
        return FALSE;

    switch (message) {
    case WM_COMMAND:
        events->Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        return events->SysCommand(static_cast<unsigned>(wParam), static_cast<long>(lParam))
                   ? TRUE
                   : FALSE;
    case WM_PAINT:
        return events->Paint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON: {
        // One of the few messages whose answer a dialog procedure returns
        // itself instead of through DWL_MSGRESULT.
        platform::IconHandle icon = events->QueryDragIcon();
        if (icon == platform::IconHandle::None)
            return FALSE;
        return static_cast<INT_PTR>(static_cast<std::uintptr_t>(icon));
    }
    default:
        return FALSE;
    }
}

HWND Item(platform::WindowHandle dialog, int controlId)
{
    return GetDlgItem(ToNative<HWND>(dialog), controlId);
}

HMENU SystemMenu(platform::WindowHandle dialog)
{
    return GetSystemMenu(ToNative<HWND>(dialog), FALSE);
}

}  // namespace

Win32Dialogs::Win32Dialogs() = default;
Win32Dialogs::~Win32Dialogs() = default;

int Win32Dialogs::RunModal(int templateId, platform::WindowHandle parent,
                           platform::DialogEvents& events)
{
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                        ToNative<HWND>(parent), DialogProcedure,
                        reinterpret_cast<LPARAM>(&events));
    return static_cast<int>(result);
}

void Win32Dialogs::EndDialog(platform::WindowHandle dialog, int result)
{
    ::EndDialog(ToNative<HWND>(dialog), result);
}

int Win32Dialogs::GetCheck(platform::WindowHandle dialog, int controlId)
{
    return static_cast<int>(
        SendDlgItemMessageA(ToNative<HWND>(dialog), controlId, BM_GETCHECK, 0, 0));
}

void Win32Dialogs::SetCheck(platform::WindowHandle dialog, int controlId, int state)
{
    SendDlgItemMessageA(ToNative<HWND>(dialog), controlId, BM_SETCHECK,
                        static_cast<WPARAM>(state), 0);
}

// A control the template lacks is left alone: a null window would stand for
// the whole desktop in RedrawWindow.

void Win32Dialogs::ShowItem(platform::WindowHandle dialog, int controlId, bool show)
{
    if (HWND item = Item(dialog, controlId))
        ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

void Win32Dialogs::EnableItem(platform::WindowHandle dialog, int controlId, bool enable)
{
    if (HWND item = Item(dialog, controlId))
        EnableWindow(item, enable ? TRUE : FALSE);
}

void Win32Dialogs::RedrawItem(platform::WindowHandle dialog, int controlId, unsigned flags)
{
    if (HWND item = Item(dialog, controlId))
        RedrawWindow(item, nullptr, nullptr, flags);
}

void Win32Dialogs::ShowDialog(platform::WindowHandle dialog, bool show)
{
    ShowWindow(ToNative<HWND>(dialog), show ? SW_SHOW : SW_HIDE);
}

bool Win32Dialogs::IsMinimised(platform::WindowHandle dialog)
{
    return IsIconic(ToNative<HWND>(dialog)) != FALSE;
}

bool Win32Dialogs::HasSystemMenu(platform::WindowHandle dialog)
{
    return SystemMenu(dialog) != nullptr;
}

void Win32Dialogs::AppendSystemMenuSeparator(platform::WindowHandle dialog)
{
    if (HMENU menu = SystemMenu(dialog))
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}

void Win32Dialogs::AppendSystemMenuItem(platform::WindowHandle dialog, unsigned commandId,
                                        const std::string& text)
{
    if (HMENU menu = SystemMenu(dialog))
        AppendMenuA(menu, MF_STRING, commandId, text.c_str());
}

void Win32Dialogs::SetIcon(platform::WindowHandle dialog, platform::IconHandle icon, bool big)
{
    SendMessageA(ToNative<HWND>(dialog), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(ToNative<HICON>(icon)));
}

platform::Size Win32Dialogs::ClientSize(platform::WindowHandle dialog)
{
    RECT client = {};
    GetClientRect(ToNative<HWND>(dialog), &client);
    platform::Size size;
    size.width = client.right - client.left;
    size.height = client.bottom - client.top;
    return size;
}

platform::PaintContext Win32Dialogs::BeginPaint(platform::WindowHandle dialog)
{
    auto record = std::make_unique<PaintRecord>();
    record->paint = {};
    HDC context = ::BeginPaint(ToNative<HWND>(dialog), &record->paint);
    auto opaque = ToOpaque<platform::PaintContext>(context);
    m_paints[opaque] = std::move(record);
    return opaque;
}

void Win32Dialogs::EraseIconBackground(platform::WindowHandle dialog,
                                       platform::PaintContext context)
{
    SendMessageA(ToNative<HWND>(dialog), WM_ICONERASEBKGND,
                 reinterpret_cast<WPARAM>(ToNative<HDC>(context)), 0);
}

void Win32Dialogs::DrawIcon(platform::PaintContext context, int x, int y,
                            platform::IconHandle icon)
{
    ::DrawIcon(ToNative<HDC>(context), x, y, ToNative<HICON>(icon));
}

void Win32Dialogs::EndPaint(platform::WindowHandle dialog, platform::PaintContext context)
{
    auto open = m_paints.find(context);
    if (open == m_paints.end())
        return;
    ::EndPaint(ToNative<HWND>(dialog), &open->second->paint);
    m_paints.erase(open);
}

platform::Size Win32Dialogs::IconMetrics()
{
    platform::Size size;
    size.width = GetSystemMetrics(SM_CXICON);
    size.height = GetSystemMetrics(SM_CYICON);
    return size;
}

std::string Win32Dialogs::LoadText(int stringId)
{
    // A string resource holds at most 65535 characters; a text that fills
    // the buffer may have been cut, so ask again with more room.
    std::vector<char> buffer(256, '\0');
    for (;;) {
        int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(stringId),
                                 buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0)
            return std::string();
        if (static_cast<std::size_t>(length) < buffer.size() - 1 || buffer.size() > 65536)
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.assign(buffer.size() * 4, '\0');
    }
}

platform::IconHandle Win32Dialogs::LoadAppIcon(int iconId)
{
    return ToOpaque<platform::IconHandle>(
        LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId)));
}

void Win32Dialogs::BeginWaitCursor()
{
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR previous = SetCursor(wait);
    if (m_waitDepth++ == 0)
        m_cursorBeforeWait = previous;
}

void Win32Dialogs::EndWaitCursor()
{
    if (m_waitDepth == 0)
        return;
    if (--m_waitDepth == 0) {
        SetCursor(static_cast<HCURSOR>(m_cursorBeforeWait));
        m_cursorBeforeWait = nullptr;
    }
}

void Win32Dialogs::Enable3dControls()
{
    // Nothing to do: every Windows that runs the dialogs (2000 and later)
    // draws dialog controls in 3-D itself, and the old CTL3D library that
    // this call once loaded for Windows 3.x is not wanted there.
}

}  // namespace win32
