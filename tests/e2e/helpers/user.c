/* Plays the user: runs a small script of steps against the installer's
 * windows, logs what it saw on stdout and in the record file, and fails
 * loudly (exit code 1, the reason and the windows on screen) when a step
 * does not hold or a wait runs out.
 *
 *   user.exe SCRIPT
 *
 * One step a line; '#' starts a comment; a text with blanks is written in
 * double quotes ("" for a quote inside). Times are in ms; a wait without one
 * gives up after 10000.
 *
 *   window "TITLE" [MS]        wait for a visible top-level window with exactly
 *                              this title; it becomes the current window
 *   msgbox "TEXT" [MS]         wait for a visible message box (a #32770 whose
 *                              static 0xFFFF holds exactly TEXT); current
 *   expect ID STATE...         STATE: checked unchecked visible hidden enabled
 *                              disabled, for the control ID of the current window
 *   expect-text ID "TEXT"      the control's text
 *   state ID                   log the control's check, visible, enabled, text
 *   click ID                   BM_CLICK on the control (posted, so a click
 *                              that starts a long job does not block the user)
 *   ok                         press OK on the current window
 *   close                      send WM_CLOSE to the current window (posted)
 *   syscommand ID              send WM_SYSCOMMAND ID to the current window
 *                              (posted), as a system-menu item would
 *   gone [MS]                  wait until the current window is gone or hidden
 *   sleep MS
 *   snapshot NAME [MS]         record "snapshot" and wait until the file
 *                              <record file>.ack.NAME exists (the harness
 *                              takes a screenshot and then creates it)
 *   watch EXE [MS]             wait for a process whose file name is EXE, then
 *                              record every visible top-level window it shows
 *                              ("window-seen") until it has ended
 *   list                       record the visible top-level windows ("windows")
 *   start "COMMAND" ["DIR"]    CreateProcessA with exactly this command line (and
 *                              current directory), for command lines that
 *                              `wine program args` cannot form
 *   wait-exit [MS] [CODE]      wait for the started program to end; with CODE,
 *                              fail unless that is its exit code
 *
 * Control IDs are decimal, or hexadecimal with 0x. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include <tlhelp32.h>

#include "records.h"

#define DEFAULT_WAIT_MS 10000
#define POLL_MS 20
#define MAX_TOKENS 12

static int g_lineNumber;
static char g_stepText[1024];
static HWND g_current;
static char g_currentName[600];
static HANDLE g_started;

/* ---- output ------------------------------------------------------------ */

static void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    printf("user: ");
    vprintf(format, args);
    printf("\n");
    fflush(stdout);
    va_end(args);
}

static void DialogItemText(HWND window, int id, char* text, int size)
{
    HWND item = GetDlgItem(window, id);
    text[0] = '\0';
    if (item)
        GetWindowTextA(item, text, size);
}

static BOOL CALLBACK ListWindow(HWND window, LPARAM unused)
{
    char title[256], className[64], text[512];
    DWORD pid = 0;
    (void)unused;
    if (!IsWindowVisible(window))
        return TRUE;
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, className, sizeof className);
    GetWindowThreadProcessId(window, &pid);
    text[0] = '\0';
    if (strcmp(className, "#32770") == 0)
        DialogItemText(window, 0xFFFF, text, sizeof text);
    printf("user:   window pid=%lu class=\"%s\" title=\"%s\"%s%s%s\n", pid, className, title,
           text[0] ? " text=\"" : "", text, text[0] ? "\"" : "");
    return TRUE;
}

static BOOL CALLBACK RecordWindow(HWND window, LPARAM counter)
{
    char title[256], className[64], text[512], field[16], value[1024];
    DWORD pid = 0;
    if (!IsWindowVisible(window))
        return TRUE;
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, className, sizeof className);
    GetWindowThreadProcessId(window, &pid);
    text[0] = '\0';
    if (strcmp(className, "#32770") == 0)
        DialogItemText(window, 0xFFFF, text, sizeof text);
    snprintf(field, sizeof field, "window%d", ++*(int*)counter);
    snprintf(value, sizeof value, "pid=%lu class=\"%s\" title=\"%s\" text=\"%s\"", pid,
             className, title, text);
    RecordField(field, value);
    return TRUE;
}

static void Fail(const char* format, ...)
{
    char reason[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
    printf("user: FAILED at line %d (%s): %s\n", g_lineNumber, g_stepText, reason);
    printf("user: visible top-level windows now:\n");
    EnumWindows(ListWindow, 0);
    fflush(stdout);
    RecordBegin("user-failed");
    RecordFieldNumber("line", (unsigned long)g_lineNumber);
    RecordField("step", g_stepText);
    RecordField("reason", reason);
    RecordWrite();
    exit(1);
}

static void RecordStep(const char* result)
{
    RecordBegin("user-step");
    RecordFieldNumber("line", (unsigned long)g_lineNumber);
    RecordField("step", g_stepText);
    RecordField("result", result);
    RecordWrite();
    Say("line %d: %s -> %s", g_lineNumber, g_stepText, result);
}

/* ---- parsing ----------------------------------------------------------- */

static int Tokenize(char* line, char** tokens)
{
    int count = 0;
    char* p = line;
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p || *p == '#' || *p == '\r' || *p == '\n')
            break;
        if (count == MAX_TOKENS)
            Fail("too many words");
        if (*p == '"') {
            char* out = ++p;
            tokens[count++] = out;
            for (;;) {
                if (!*p || *p == '\r' || *p == '\n')
                    Fail("missing closing quote");
                if (*p == '"' && p[1] == '"') {
                    *out++ = '"';
                    p += 2;
                } else if (*p == '"') {
                    ++p;
                    break;
                } else {
                    *out++ = *p++;
                }
            }
            *out = '\0';
        } else {
            tokens[count++] = p;
            while (*p && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n')
                ++p;
            if (*p)
                *p++ = '\0';
        }
    }
    return count;
}

static unsigned long Number(const char* text, const char* what)
{
    char* end;
    unsigned long value = strtoul(text, &end, 0);
    if (!*text || *end)
        Fail("%s \"%s\" is not a number", what, text);
    return value;
}

static DWORD WaitLimit(int count, char** tokens, int index)
{
    return count > index ? (DWORD)Number(tokens[index], "time") : DEFAULT_WAIT_MS;
}

/* ---- windows ----------------------------------------------------------- */

typedef struct {
    const char* title;   /* exact window title, or NULL */
    const char* boxText; /* exact message box text, or NULL */
    HWND found;
} WindowQuery;

static BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = (WindowQuery*)parameter;
    char text[1024];
    if (!IsWindowVisible(window))
        return TRUE;
    if (query->title) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, query->title) != 0)
            return TRUE;
    }
    if (query->boxText) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, "#32770") != 0)
            return TRUE;
        DialogItemText(window, 0xFFFF, text, sizeof text);
        if (strcmp(text, query->boxText) != 0)
            return TRUE;
    }
    query->found = window;
    return FALSE;
}

static HWND WaitForWindow(const char* title, const char* boxText, DWORD limit)
{
    DWORD start = GetTickCount();
    for (;;) {
        WindowQuery query;
        query.title = title;
        query.boxText = boxText;
        query.found = NULL;
        EnumWindows(MatchWindow, (LPARAM)&query);
        if (query.found)
            return query.found;
        if (GetTickCount() - start >= limit)
            return NULL;
        Sleep(POLL_MS);
    }
}

static HWND CurrentWindow(void)
{
    if (!g_current)
        Fail("no current window: a window or msgbox step must come first");
    if (!IsWindow(g_current))
        Fail("the current window %s no longer exists", g_currentName);
    return g_current;
}

static HWND Control(const char* idText)
{
    int id = (int)Number(idText, "control ID");
    HWND control = GetDlgItem(CurrentWindow(), id);
    if (!control)
        Fail("the current window %s has no control %s", g_currentName, idText);
    return control;
}

/* BM_GETCHECK through SendMessageTimeout, so a busy installer fails the step
 * instead of hanging the user. */
static int CheckState(HWND control)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
        Fail("BM_GETCHECK got no answer within 5 s");
    return (int)result;
}

static void DescribeControl(HWND control, char* text, size_t size)
{
    char caption[256];
    GetWindowTextA(control, caption, sizeof caption);
    snprintf(text, size, "check=%d visible=%d enabled=%d text=\"%s\"", CheckState(control),
             IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0, caption);
}

/* ---- processes --------------------------------------------------------- */

#define MAX_WATCHED 16

static int ProcessesNamed(const char* exeName, DWORD* pids)
{
    int count = 0;
    PROCESSENTRY32 entry;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    entry.dwSize = sizeof entry;
    if (Process32First(snapshot, &entry)) {
        do {
            if (lstrcmpiA(entry.szExeFile, exeName) == 0 && count < MAX_WATCHED)
                pids[count++] = entry.th32ProcessID;
        } while (Process32Next(snapshot, &entry));
    }
    CloseHandle(snapshot);
    return count;
}

typedef struct {
    DWORD pids[MAX_WATCHED];
    int pidCount;
    HWND seen[256];
    int seenCount;
} WatchState;

static BOOL CALLBACK NoteWindow(HWND window, LPARAM parameter)
{
    WatchState* state = (WatchState*)parameter;
    DWORD pid = 0;
    int i;
    char title[256], className[64], text[512];
    if (!IsWindowVisible(window))
        return TRUE;
    GetWindowThreadProcessId(window, &pid);
    for (i = 0; i < state->pidCount && state->pids[i] != pid; ++i) {
    }
    if (i == state->pidCount)
        return TRUE;
    for (i = 0; i < state->seenCount; ++i)
        if (state->seen[i] == window)
            return TRUE;
    if (state->seenCount < 256)
        state->seen[state->seenCount++] = window;
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, className, sizeof className);
    text[0] = '\0';
    if (strcmp(className, "#32770") == 0)
        DialogItemText(window, 0xFFFF, text, sizeof text);
    RecordBegin("window-seen");
    RecordFieldNumber("owner_pid", pid);
    RecordField("title", title);
    RecordField("class", className);
    RecordField("text", text);
    RecordWrite();
    Say("seen window pid=%lu class=\"%s\" title=\"%s\" text=\"%s\"", pid, className, title, text);
    return TRUE;
}

static void Watch(const char* exeName, DWORD limit)
{
    WatchState state;
    DWORD start = GetTickCount();
    char result[64];
    memset(&state, 0, sizeof state);
    RecordBegin("watch-begin");
    RecordField("exe", exeName);
    RecordWrite();
    while ((state.pidCount = ProcessesNamed(exeName, state.pids)) == 0) {
        if (GetTickCount() - start >= limit)
            Fail("no process %s appeared within %lu ms", exeName, limit);
        Sleep(5);
    }
    for (;;) {
        EnumWindows(NoteWindow, (LPARAM)&state);
        Sleep(POLL_MS);
        state.pidCount = ProcessesNamed(exeName, state.pids);
        if (state.pidCount == 0)
            break;
        if (GetTickCount() - start >= limit)
            Fail("%s still running after %lu ms", exeName, limit);
    }
    snprintf(result, sizeof result, "ended, %d window(s) seen", state.seenCount);
    RecordStep(result);
}

/* ---- steps ------------------------------------------------------------- */

static void ExpectState(HWND control, const char* idText, const char* wanted)
{
    int holds;
    if (strcmp(wanted, "checked") == 0)
        holds = CheckState(control) == BST_CHECKED;
    else if (strcmp(wanted, "unchecked") == 0)
        holds = CheckState(control) == BST_UNCHECKED;
    else if (strcmp(wanted, "visible") == 0)
        holds = IsWindowVisible(control) != 0;
    else if (strcmp(wanted, "hidden") == 0)
        holds = IsWindowVisible(control) == 0;
    else if (strcmp(wanted, "enabled") == 0)
        holds = IsWindowEnabled(control) != 0;
    else if (strcmp(wanted, "disabled") == 0)
        holds = IsWindowEnabled(control) == 0;
    else {
        Fail("unknown state \"%s\"", wanted);
        return;
    }
    if (!holds) {
        char now[512];
        DescribeControl(control, now, sizeof now);
        Fail("control %s is not %s (%s)", idText, wanted, now);
    }
}

static void RunStep(int count, char** tokens)
{
    const char* verb = tokens[0];
    char result[1024];

    if (strcmp(verb, "window") == 0 && count >= 2) {
        DWORD limit = WaitLimit(count, tokens, 2);
        HWND window = WaitForWindow(tokens[1], NULL, limit);
        if (!window)
            Fail("no visible window titled \"%s\" within %lu ms", tokens[1], limit);
        g_current = window;
        snprintf(g_currentName, sizeof g_currentName, "\"%s\"", tokens[1]);
        RecordStep("found");
    } else if (strcmp(verb, "msgbox") == 0 && count >= 2) {
        DWORD limit = WaitLimit(count, tokens, 2);
        HWND box = WaitForWindow(NULL, tokens[1], limit);
        char caption[256];
        if (!box)
            Fail("no message box saying \"%s\" within %lu ms", tokens[1], limit);
        g_current = box;
        GetWindowTextA(box, caption, sizeof caption);
        snprintf(g_currentName, sizeof g_currentName, "message box \"%s\"", caption);
        snprintf(result, sizeof result, "found, caption \"%s\"", caption);
        RecordStep(result);
    } else if (strcmp(verb, "expect") == 0 && count >= 3) {
        HWND control = Control(tokens[1]);
        int i;
        for (i = 2; i < count; ++i)
            ExpectState(control, tokens[1], tokens[i]);
        RecordStep("holds");
    } else if (strcmp(verb, "expect-text") == 0 && count == 3) {
        char text[1024];
        GetWindowTextA(Control(tokens[1]), text, sizeof text);
        if (strcmp(text, tokens[2]) != 0)
            Fail("control %s says \"%s\"", tokens[1], text);
        RecordStep("holds");
    } else if (strcmp(verb, "state") == 0 && count == 2) {
        DescribeControl(Control(tokens[1]), result, sizeof result);
        RecordStep(result);
    } else if (strcmp(verb, "click") == 0 && count == 2) {
        HWND control = Control(tokens[1]);
        if (!IsWindowEnabled(control))
            Fail("control %s is disabled", tokens[1]);
        PostMessageA(control, BM_CLICK, 0, 0);
        RecordStep("clicked");
    } else if (strcmp(verb, "ok") == 0 && count == 1) {
        HWND window = CurrentWindow();
        HWND button = GetDlgItem(window, IDOK);
        if (button)
            PostMessageA(button, BM_CLICK, 0, 0);
        else
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        RecordStep(button ? "clicked OK" : "sent IDOK");
    } else if (strcmp(verb, "close") == 0 && count == 1) {
        PostMessageA(CurrentWindow(), WM_CLOSE, 0, 0);
        RecordStep("posted WM_CLOSE");
    } else if (strcmp(verb, "syscommand") == 0 && count == 2) {
        PostMessageA(CurrentWindow(), WM_SYSCOMMAND, (WPARAM)Number(tokens[1], "command"), 0);
        RecordStep("posted WM_SYSCOMMAND");
    } else if (strcmp(verb, "gone") == 0 && count <= 2) {
        DWORD limit = WaitLimit(count, tokens, 1);
        DWORD start = GetTickCount();
        if (!g_current)
            Fail("no current window");
        while (IsWindow(g_current) && IsWindowVisible(g_current)) {
            if (GetTickCount() - start >= limit)
                Fail("%s still there after %lu ms", g_currentName, limit);
            Sleep(POLL_MS);
        }
        g_current = NULL;
        RecordStep("gone");
    } else if (strcmp(verb, "sleep") == 0 && count == 2) {
        Sleep((DWORD)Number(tokens[1], "time"));
        RecordStep("slept");
    } else if (strcmp(verb, "snapshot") == 0 && count >= 2) {
        DWORD limit = WaitLimit(count, tokens, 2);
        if (!RecordSnapshot(tokens[1], FALSE, limit))
            Fail("no acknowledgement of the snapshot %s within %lu ms", tokens[1], limit);
        RecordStep("taken");
    } else if (strcmp(verb, "watch") == 0 && count >= 2) {
        Watch(tokens[1], WaitLimit(count, tokens, 2));
    } else if (strcmp(verb, "list") == 0 && count == 1) {
        int windows = 0;
        RecordBegin("windows");
        EnumWindows(RecordWindow, (LPARAM)&windows);
        RecordWrite();
        EnumWindows(ListWindow, 0);
        snprintf(result, sizeof result, "%d window(s)", windows);
        RecordStep(result);
    } else if (strcmp(verb, "start") == 0 && (count == 2 || count == 3)) {
        STARTUPINFOA startup;
        PROCESS_INFORMATION process;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        if (!CreateProcessA(NULL, tokens[1], NULL, NULL, FALSE, 0, NULL,
                            count == 3 ? tokens[2] : NULL, &startup, &process))
            Fail("CreateProcessA failed, error %lu", GetLastError());
        CloseHandle(process.hThread);
        if (g_started)
            CloseHandle(g_started);
        g_started = process.hProcess;
        snprintf(result, sizeof result, "started pid %lu", process.dwProcessId);
        RecordStep(result);
    } else if (strcmp(verb, "wait-exit") == 0 && count <= 3) {
        DWORD limit = WaitLimit(count, tokens, 1);
        DWORD code = 0;
        if (!g_started)
            Fail("no program was started");
        if (WaitForSingleObject(g_started, limit) != WAIT_OBJECT_0)
            Fail("the started program is still running after %lu ms", limit);
        GetExitCodeProcess(g_started, &code);
        if (count == 3 && code != Number(tokens[2], "exit code"))
            Fail("the started program ended with exit code %lu", code);
        snprintf(result, sizeof result, "ended with exit code %lu", code);
        RecordStep(result);
    } else {
        Fail("unknown step or wrong number of words");
    }
}

int main(int argc, char** argv)
{
    char line[1024];
    char* tokens[MAX_TOKENS];
    FILE* script;

    if (argc != 2) {
        fprintf(stderr, "usage: user SCRIPT\n");
        return 64;
    }
    script = fopen(argv[1], "r");
    if (!script) {
        fprintf(stderr, "user: cannot open the script %s\n", argv[1]);
        return 64;
    }
    while (fgets(line, sizeof line, script)) {
        int count;
        ++g_lineNumber;
        lstrcpynA(g_stepText, line, sizeof g_stepText);
        g_stepText[strcspn(g_stepText, "\r\n")] = '\0';
        count = Tokenize(line, tokens);
        if (count > 0)
            RunStep(count, tokens);
    }
    fclose(script);
    RecordBegin("user-done");
    RecordField("script", argv[1]);
    RecordFieldNumber("lines", (unsigned long)g_lineNumber);
    RecordWrite();
    Say("done");
    return 0;
}
