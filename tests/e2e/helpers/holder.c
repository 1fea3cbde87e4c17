#include "holder.h"

#include "records.h"

#define TIMER_LIMIT 1

static const HoldOptions* g_options;
static int g_exitCode;
static unsigned long g_closeCount;

static LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        ++g_closeCount;
        RecordBegin("close");
        RecordField("title", g_options->title);
        RecordFieldNumber("count", g_closeCount);
        RecordFieldNumber("wparam", (unsigned long)wParam);
        RecordFieldNumber("lparam", (unsigned long)lParam);
        RecordWrite();
        if (!g_options->ignoreClose) {
            g_exitCode = 0;
            DestroyWindow(window);
        }
        return 0;
    case WM_TIMER:
        if (wParam == TIMER_LIMIT) {
            RecordBegin("timeout");
            RecordField("title", g_options->title);
            RecordFieldNumber("max_ms", g_options->maxMs);
            RecordWrite();
            g_exitCode = 2;
            DestroyWindow(window);
        }
        return 0;
    case WM_PAINT: {
        /* Without a window manager the caption is not drawn: show the title
         * in the client area, so that screenshots tell the windows apart. */
        PAINTSTRUCT paint;
        RECT area;
        HDC dc = BeginPaint(window, &paint);
        GetClientRect(window, &area);
        DrawTextA(dc, g_options->title, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(g_exitCode);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int HoldWindow(const HoldOptions* options)
{
    WNDCLASSA windowClass;
    HWND window;
    MSG message;
    char handle[16];
    const char* className = options->className ? options->className : "E2EWindowHolder";

    g_options = options;
    g_exitCode = 0;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = HolderProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);

    window = CreateWindowExA(0, className, options->title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 240, 80, NULL, NULL, windowClass.hInstance, NULL);
    if (!window) {
        RecordBegin("error");
        RecordField("what", "CreateWindowExA failed");
        RecordFieldNumber("error", GetLastError());
        RecordWrite();
        return 3;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    if (options->maxMs)
        SetTimer(window, TIMER_LIMIT, options->maxMs, NULL);

    wsprintfA(handle, "0x%lx", (unsigned long)(ULONG_PTR)window);
    RecordBegin("ready");
    RecordField("title", options->title);
    RecordField("class", className);
    RecordField("hwnd", handle);
    RecordWrite();

    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
