/* Plays a person who answers every window of the installer the same way,
 * whatever comes up and in whatever order: it starts the installer with an
 * exact command line, then watches the visible top-level windows and the
 * processes of the prefix until it is told to stop, and records what it saw
 * and did. The media tool's "try" drives it.
 *
 *   responder.exe SETTINGS
 *
 * SETTINGS holds one "name=value" a line:
 *
 *   command=TEXT        the installer's command line (CreateProcessA)
 *   directory=PATH      its current directory
 *   installer=NAME      the program file name whose windows are answered
 *   apps=0|1            main options dialog: "Install Applications" wanted
 *   driver=0|1          main options dialog: "Install Device Driver" wanted
 *   cancel=0|1          press Cancel in the options dialogs
 *   soundcard=0|1       Windows 2000/XP dialog: the sound-card choice
 *   jacks=ID,ID,...     Windows 2000/XP dialog: jack boxes clicked in this order
 *   legacy=0|1          Windows 2000/XP dialog: "Disable legacy device"
 *   restart=0|1         restart prompt: keep "Yes" (1) or choose "No" (0)
 *   stop=PATH           the responder ends once this file exists
 *
 * Every message box is answered with OK. Windows of other programs are
 * recorded and photographed, never answered. Texts are recorded in UTF-8.
 *
 * Records: "installer-start" (process_id), "process" (process_id, parent,
 * exe), "process-end" (process_id, exe, exit_code), "window" (hwnd,
 * process_id, exe, kind, template, class, title, text, shot, and the tick it
 * was first seen at), "snapshot" (name and the window's left, top, right,
 * bottom), "answer" (hwnd, kind, template, answer: the clicks and the
 * button as `w2kmedia plan` writes them, controls: the states then) and
 * "window-state" (hwnd, state, shot). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include <tlhelp32.h>

#include "records.h"

#define POLL_MS 20
#define SETTLE_MS 300
#define CLICK_PAUSE_MS 150
#define SNAPSHOT_LIMIT_MS 15000
#define MAX_PROCESSES 512
#define MAX_WINDOWS 512
#define MAX_JACKS 16

/* The installer's control ids (dialog templates 102, 131 and 132). */
enum {
    ID_MAIN_APPS = 1001, ID_MAIN_DRIVER = 1002, ID_MAIN_WAIT_TEXT = 1003,
    ID_W2K_LEGACY = 1000, ID_W2K_MOTHERBOARD = 1006, ID_W2K_SOUNDCARD = 1007,
    ID_W2K_REAR = 1011, ID_W2K_CENTRE = 1012, ID_W2K_MICSUB = 1013,
    ID_RESTART_YES = 1000, ID_RESTART_NO = 1001,
    ID_MESSAGE_TEXT = 0xFFFF
};

typedef struct {
    char command[2048];
    char directory[MAX_PATH];
    char installer[MAX_PATH];
    char stop[MAX_PATH];
    int apps, driver, cancel, soundcard, legacy, restart;
    int jacks[MAX_JACKS];
    int jackCount;
} Settings;

typedef struct {
    DWORD pid;
    HANDLE handle;
    char exe[MAX_PATH];
    BOOL ended;
} Process;

typedef struct {
    HWND hwnd;
    BOOL mainDialog;       /* an answered main options dialog */
    BOOL workingRecorded;  /* its wait text has been photographed */
} SeenWindow;

static Settings g_settings;
static Process g_processes[MAX_PROCESSES];
static int g_processCount;
static SeenWindow g_windows[MAX_WINDOWS];
static int g_windowCount;
static int g_shots;

/* ---- settings ------------------------------------------------------------ */

static int Flag(const char* value)
{
    return atoi(value) != 0;
}

static void ReadJacks(const char* value)
{
    const char* p = value;
    while (*p && g_settings.jackCount < MAX_JACKS) {
        g_settings.jacks[g_settings.jackCount++] = atoi(p);
        p = strchr(p, ',');
        if (!p)
            break;
        ++p;
    }
}

static BOOL ReadSettings(const char* path)
{
    char line[4096];
    FILE* file = fopen(path, "r");
    if (!file)
        return FALSE;
    memset(&g_settings, 0, sizeof g_settings);
    g_settings.apps = g_settings.driver = g_settings.restart = 1;
    while (fgets(line, sizeof line, file)) {
        char* value = strchr(line, '=');
        line[strcspn(line, "\r\n")] = '\0';
        if (!value)
            continue;
        *value++ = '\0';
        if (strcmp(line, "command") == 0)
            lstrcpynA(g_settings.command, value, sizeof g_settings.command);
        else if (strcmp(line, "directory") == 0)
            lstrcpynA(g_settings.directory, value, sizeof g_settings.directory);
        else if (strcmp(line, "installer") == 0)
            lstrcpynA(g_settings.installer, value, sizeof g_settings.installer);
        else if (strcmp(line, "stop") == 0)
            lstrcpynA(g_settings.stop, value, sizeof g_settings.stop);
        else if (strcmp(line, "apps") == 0)
            g_settings.apps = Flag(value);
        else if (strcmp(line, "driver") == 0)
            g_settings.driver = Flag(value);
        else if (strcmp(line, "cancel") == 0)
            g_settings.cancel = Flag(value);
        else if (strcmp(line, "soundcard") == 0)
            g_settings.soundcard = Flag(value);
        else if (strcmp(line, "legacy") == 0)
            g_settings.legacy = Flag(value);
        else if (strcmp(line, "restart") == 0)
            g_settings.restart = Flag(value);
        else if (strcmp(line, "jacks") == 0)
            ReadJacks(value);
    }
    fclose(file);
    return g_settings.command[0] && g_settings.installer[0] && g_settings.stop[0];
}

/* ---- processes ----------------------------------------------------------- */

static Process* AddProcess(DWORD pid, HANDLE handle, const char* exe)
{
    Process* process;
    if (g_processCount == MAX_PROCESSES)
        return NULL;
    process = &g_processes[g_processCount++];
    process->pid = pid;
    process->handle = handle;
    process->ended = FALSE;
    lstrcpynA(process->exe, exe, sizeof process->exe);
    return process;
}

static Process* FindProcess(DWORD pid)
{
    int i;
    for (i = 0; i < g_processCount; ++i)
        if (g_processes[i].pid == pid && !g_processes[i].ended)
            return &g_processes[i];
    return NULL;
}

static void NoteNewProcesses(void)
{
    PROCESSENTRY32 entry;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    entry.dwSize = sizeof entry;
    if (Process32First(snapshot, &entry)) {
        do {
            /* A process that is still starting has no name yet: it is taken
             * up at a later poll. */
            if (entry.th32ProcessID == GetCurrentProcessId() || FindProcess(entry.th32ProcessID)
                || !entry.szExeFile[0])
                continue;
            AddProcess(entry.th32ProcessID,
                       OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE,
                                   entry.th32ProcessID),
                       entry.szExeFile);
            RecordBegin("process");
            RecordFieldNumber("process_id", entry.th32ProcessID);
            RecordFieldNumber("parent", entry.th32ParentProcessID);
            RecordField("exe", entry.szExeFile);
            RecordWrite();
        } while (Process32Next(snapshot, &entry));
    }
    CloseHandle(snapshot);
}

static void NoteEndedProcesses(void)
{
    int i;
    for (i = 0; i < g_processCount; ++i) {
        Process* process = &g_processes[i];
        DWORD code = STILL_ACTIVE;
        if (process->ended || !process->handle)
            continue;
        if (WaitForSingleObject(process->handle, 0) != WAIT_OBJECT_0)
            continue;
        GetExitCodeProcess(process->handle, &code);
        process->ended = TRUE;
        CloseHandle(process->handle);
        RecordBegin("process-end");
        RecordFieldNumber("process_id", process->pid);
        RecordField("exe", process->exe);
        RecordFieldNumber("exit_code", code);
        RecordWrite();
    }
}

static BOOL StartInstaller(void)
{
    STARTUPINFOA startup;
    PROCESS_INFORMATION started;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    RecordBegin("installer-start");
    RecordField("command", g_settings.command);
    RecordField("directory", g_settings.directory);
    if (!CreateProcessA(NULL, g_settings.command, NULL, NULL, FALSE, 0, NULL,
                        g_settings.directory[0] ? g_settings.directory : NULL, &startup,
                        &started)) {
        RecordFieldNumber("error", GetLastError());
        RecordWrite();
        return FALSE;
    }
    CloseHandle(started.hThread);
    RecordFieldNumber("process_id", started.dwProcessId);
    RecordWrite();
    AddProcess(started.dwProcessId, started.hProcess, g_settings.installer);
    return TRUE;
}

/* ---- windows ------------------------------------------------------------- */

static void Utf8Text(HWND window, char* text, int size)
{
    WCHAR wide[1024];
    wide[0] = 0;
    if (window)
        GetWindowTextW(window, wide, sizeof wide / sizeof wide[0]);
    if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, size, NULL, NULL))
        text[0] = '\0';
}

static BOOL HasControl(HWND window, int id)
{
    return GetDlgItem(window, id) != NULL;
}

static int CheckState(HWND window, int id)
{
    DWORD_PTR result = 0;
    HWND control = GetDlgItem(window, id);
    if (!control
        || !SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return (int)result;
}

/* What a window is, by the controls it holds, so that every language copy
 * is told apart the same way: a message box, one of the installer's dialog
 * templates, or something else. */
static const char* KindOf(HWND window, int* templateId)
{
    char className[64];
    *templateId = 0;
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0)
        return "window";
    if (HasControl(window, ID_W2K_MOTHERBOARD) && HasControl(window, ID_W2K_SOUNDCARD)) {
        *templateId = 131;
        return "dialog";
    }
    if (HasControl(window, ID_MAIN_WAIT_TEXT) && HasControl(window, ID_MAIN_APPS)) {
        *templateId = 102;
        return "dialog";
    }
    if (HasControl(window, ID_RESTART_YES) && HasControl(window, ID_RESTART_NO)) {
        *templateId = 132;
        return "dialog";
    }
    if (HasControl(window, ID_MESSAGE_TEXT))
        return "message";
    return "dialog";
}

static const char* ShotNameOf(const char* kind, int templateId, BOOL ours)
{
    if (!ours)
        return "other-window";
    if (templateId == 102)
        return "main-dialog";
    if (templateId == 131)
        return "win2000-dialog";
    if (templateId == 132)
        return "restart-prompt";
    return strcmp(kind, "message") == 0 ? "message" : "dialog";
}

/* Records "snapshot" with the window's rectangle and waits for the picture;
 * returns the snapshot's name. */
static const char* Photograph(HWND window, const char* what, char* name, size_t size)
{
    RECT rect;
    memset(&rect, 0, sizeof rect);
    GetWindowRect(window, &rect);
    snprintf(name, size, "%s-%d", what, ++g_shots);
    RecordBegin("snapshot");
    RecordFieldNumber("hwnd", (unsigned long)(ULONG_PTR)window);
    RecordFieldSigned("left", rect.left);
    RecordFieldSigned("top", rect.top);
    RecordFieldSigned("right", rect.right);
    RecordFieldSigned("bottom", rect.bottom);
    if (!RecordSnapshot(name, TRUE, SNAPSHOT_LIMIT_MS))
        name[0] = '\0';
    return name;
}

/* An answer as `w2kmedia plan` writes it: each control clicked, by its
 * caption, a box or radio button followed by the state the dialog leaves it
 * in ("(checked)" or "(cleared)"), then the button that ends it, joined by
 * ", ". Setting the boxes and pressing the button are two steps, so that
 * the window's picture in between shows the answer. */
typedef struct {
    char text[2048];
    int button;      /* IDOK or IDCANCEL, pressed at the end */
    const int* ids;  /* the controls whose states go with the answer */
    int idCount;
} Answer;

static void AddStep(Answer* answer, const char* step)
{
    if (answer->text[0])
        strncat(answer->text, ", ", sizeof answer->text - strlen(answer->text) - 1);
    strncat(answer->text, step, sizeof answer->text - strlen(answer->text) - 1);
}

static BOOL Clickable(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

/* A click on a box or radio button, where one can be given. It is sent, not
 * posted: when it returns the dialog's handler has run, so the state read
 * then is the one the dialog leaves. */
static void ClickBox(HWND window, int id, Answer* answer)
{
    HWND control = GetDlgItem(window, id);
    DWORD_PTR ignored;
    char caption[512], step[600];
    if (!Clickable(window, id))
        return;
    SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    Utf8Text(control, caption, sizeof caption);
    snprintf(step, sizeof step, "%s (%s)", caption,
             CheckState(window, id) == BST_CHECKED ? "checked" : "cleared");
    AddStep(answer, step);
    Sleep(CLICK_PAUSE_MS);
}

/* The button that ends the answer: the one asked for when it can be
 * clicked; OK that cannot be clicked (both boxes of the main dialog
 * cleared) gives way to Cancel, as a person has only that left. */
static void ChooseButton(HWND window, int wanted, Answer* answer)
{
    char caption[512];
    answer->button = wanted;
    if (wanted == IDOK && !Clickable(window, IDOK) && Clickable(window, IDCANCEL))
        answer->button = IDCANCEL;
    if (GetDlgItem(window, answer->button))
        Utf8Text(GetDlgItem(window, answer->button), caption, sizeof caption);
    else
        lstrcpynA(caption, answer->button == IDOK ? "OK" : "Cancel", sizeof caption);
    AddStep(answer, caption);
}

/* The button pressed as a person presses it: a click on it; a window
 * without such a button gets the command itself. */
static void Press(HWND window, const Answer* answer)
{
    HWND button = GetDlgItem(window, answer->button);
    if (button && IsWindowEnabled(button))
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer->button, BN_CLICKED), 0);
}

static void RecordAnswer(HWND window, const char* kind, int templateId, const Answer* answer)
{
    char controls[256] = "";
    int i;
    for (i = 0; i < answer->idCount; ++i) {
        char one[32];
        snprintf(one, sizeof one, "%s%d=%d", i ? "," : "", answer->ids[i],
                 CheckState(window, answer->ids[i]));
        strncat(controls, one, sizeof controls - strlen(controls) - 1);
    }
    RecordBegin("answer");
    RecordFieldNumber("hwnd", (unsigned long)(ULONG_PTR)window);
    RecordField("kind", kind);
    RecordFieldNumber("template", (unsigned long)templateId);
    RecordField("answer", answer->text);
    RecordField("controls", controls);
    RecordWrite();
}

/* Cancel is pressed on its own; otherwise the boxes are cleared as asked. */
static void SetMainDialog(HWND window, Answer* answer)
{
    static const int ids[] = {ID_MAIN_APPS, ID_MAIN_DRIVER};
    answer->ids = ids;
    answer->idCount = 2;
    if (g_settings.cancel) {
        ChooseButton(window, IDCANCEL, answer);
        return;
    }
    if (!g_settings.apps && CheckState(window, ID_MAIN_APPS) == BST_CHECKED)
        ClickBox(window, ID_MAIN_APPS, answer);
    if (!g_settings.driver && CheckState(window, ID_MAIN_DRIVER) == BST_CHECKED)
        ClickBox(window, ID_MAIN_DRIVER, answer);
    ChooseButton(window, IDOK, answer);
}

/* The jack boxes first, while the motherboard choice keeps them enabled,
 * then the board, then the legacy box. */
static void SetWin2000Dialog(HWND window, Answer* answer)
{
    static const int ids[] = {ID_W2K_MOTHERBOARD, ID_W2K_SOUNDCARD, ID_W2K_REAR, ID_W2K_CENTRE,
                              ID_W2K_MICSUB, ID_W2K_LEGACY};
    int i;
    answer->ids = ids;
    answer->idCount = 6;
    if (g_settings.cancel) {
        ChooseButton(window, IDCANCEL, answer);
        return;
    }
    for (i = 0; i < g_settings.jackCount; ++i)
        ClickBox(window, g_settings.jacks[i], answer);
    if (g_settings.soundcard)
        ClickBox(window, ID_W2K_SOUNDCARD, answer);
    if (g_settings.legacy && CheckState(window, ID_W2K_LEGACY) != BST_CHECKED)
        ClickBox(window, ID_W2K_LEGACY, answer);
    ChooseButton(window, IDOK, answer);
}

static void SetRestartPrompt(HWND window, Answer* answer)
{
    static const int ids[] = {ID_RESTART_YES, ID_RESTART_NO};
    answer->ids = ids;
    answer->idCount = 2;
    if (!g_settings.restart)
        ClickBox(window, ID_RESTART_NO, answer);
    ChooseButton(window, IDOK, answer);
}

static void SetAnswer(HWND window, int templateId, Answer* answer)
{
    memset(answer, 0, sizeof *answer);
    if (templateId == 102)
        SetMainDialog(window, answer);
    else if (templateId == 131)
        SetWin2000Dialog(window, answer);
    else if (templateId == 132)
        SetRestartPrompt(window, answer);
    else
        ChooseButton(window, IDOK, answer);
}

static SeenWindow* FindSeen(HWND window)
{
    int i;
    for (i = 0; i < g_windowCount; ++i)
        if (g_windows[i].hwnd == window)
            return &g_windows[i];
    return NULL;
}

static const char* ExeOf(DWORD pid)
{
    Process* process = FindProcess(pid);
    return process ? process->exe : "";
}

static void Meet(HWND window)
{
    SeenWindow* seen;
    DWORD pid = 0;
    int templateId;
    const char* kind;
    const char* exe;
    BOOL ours, answered;
    Answer answer;
    DWORD seenTick = GetTickCount();
    char title[1024], text[2048], className[64], shot[64];

    if (g_windowCount == MAX_WINDOWS)
        return;
    seen = &g_windows[g_windowCount++];
    memset(seen, 0, sizeof *seen);
    seen->hwnd = window;

    /* Let it paint before its picture is taken. A window that went again
     * meanwhile is met anew when it shows itself again. */
    Sleep(SETTLE_MS);
    if (!IsWindow(window) || !IsWindowVisible(window)) {
        --g_windowCount;
        return;
    }
    GetWindowThreadProcessId(window, &pid);
    if (!FindProcess(pid))
        NoteNewProcesses();
    exe = ExeOf(pid);
    ours = lstrcmpiA(exe, g_settings.installer) == 0;
    kind = KindOf(window, &templateId);
    GetClassNameA(window, className, sizeof className);
    Utf8Text(window, title, sizeof title);
    Utf8Text(strcmp(kind, "message") == 0 ? GetDlgItem(window, ID_MESSAGE_TEXT) : NULL, text,
             sizeof text);
    /* The installer's message boxes and dialogs are answered; the picture is
     * taken once the boxes show the answer, just before the button. */
    answered = ours && strcmp(kind, "window") != 0;
    if (answered) {
        SetAnswer(window, templateId, &answer);
        if (answer.idCount)
            Sleep(SETTLE_MS);
    }
    Photograph(window, ShotNameOf(kind, templateId, ours), shot, sizeof shot);

    RecordBegin("window");
    RecordFieldNumber("hwnd", (unsigned long)(ULONG_PTR)window);
    RecordFieldNumber("process_id", pid);
    RecordField("exe", exe);
    RecordField("kind", kind);
    RecordFieldNumber("template", (unsigned long)templateId);
    RecordField("class", className);
    RecordField("title", title);
    RecordField("text", text);
    RecordField("shot", shot);
    RecordFieldNumber("seen", seenTick);
    RecordWrite();

    if (answered) {
        seen->mainDialog = templateId == 102;
        RecordAnswer(window, kind, templateId, &answer);
        Press(window, &answer);
    }
}

static BOOL CALLBACK MeetNewWindow(HWND window, LPARAM unused)
{
    (void)unused;
    if (IsWindowVisible(window) && !FindSeen(window))
        Meet(window);
    return TRUE;
}

/* Windows already on screen before the installer starts (an earlier
 * program's) are not the run's: they are left out. */
static BOOL CALLBACK PassOver(HWND window, LPARAM unused)
{
    (void)unused;
    if (IsWindowVisible(window) && g_windowCount < MAX_WINDOWS) {
        memset(&g_windows[g_windowCount], 0, sizeof g_windows[0]);
        g_windows[g_windowCount++].hwnd = window;
    }
    return TRUE;
}

typedef struct {
    HWND besides;
    DWORD pid;
    BOOL found;
} OtherWindowQuery;

static BOOL CALLBACK FindOtherWindow(HWND window, LPARAM parameter)
{
    OtherWindowQuery* query = (OtherWindowQuery*)parameter;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (window != query->besides && pid == query->pid && IsWindowVisible(window)) {
        query->found = TRUE;
        return FALSE;
    }
    return TRUE;
}

/* Whether the program of a window shows another window now (a message box
 * in front of it). */
static BOOL OtherWindowShown(HWND window)
{
    OtherWindowQuery query;
    query.besides = window;
    query.pid = 0;
    query.found = FALSE;
    GetWindowThreadProcessId(window, &query.pid);
    EnumWindows(FindOtherWindow, (LPARAM)&query);
    return query.found;
}

/* The answered main dialog stays on screen with its wait text while the
 * driver installs; that state gets a picture of its own, once no message
 * box stands in front of it. */
static void WatchWorkingDialogs(void)
{
    int i;
    char shot[64];
    for (i = 0; i < g_windowCount; ++i) {
        SeenWindow* seen = &g_windows[i];
        HWND waitText;
        if (!seen->mainDialog || seen->workingRecorded || !IsWindow(seen->hwnd))
            continue;
        waitText = GetDlgItem(seen->hwnd, ID_MAIN_WAIT_TEXT);
        if (!IsWindowVisible(seen->hwnd) || !waitText || !IsWindowVisible(waitText)
            || OtherWindowShown(seen->hwnd))
            continue;
        /* The installer repaints the wait text itself; give it the time.
         * A message box that came meanwhile is met first. */
        Sleep(SETTLE_MS);
        if (OtherWindowShown(seen->hwnd))
            continue;
        seen->workingRecorded = TRUE;
        Photograph(seen->hwnd, "main-dialog-working", shot, sizeof shot);
        RecordBegin("window-state");
        RecordFieldNumber("hwnd", (unsigned long)(ULONG_PTR)seen->hwnd);
        RecordField("state", "working");
        RecordField("shot", shot);
        RecordWrite();
    }
}

int main(int argc, char** argv)
{
    if (argc != 2 || !ReadSettings(argv[1])) {
        fprintf(stderr, "usage: responder SETTINGS (with command=, installer= and stop=)\n");
        return 64;
    }
    NoteNewProcesses();
    EnumWindows(PassOver, 0);
    if (!StartInstaller()) {
        fprintf(stderr, "responder: the installer did not start (error %lu)\n", GetLastError());
        return 2;
    }
    while (GetFileAttributesA(g_settings.stop) == INVALID_FILE_ATTRIBUTES) {
        NoteNewProcesses();
        NoteEndedProcesses();
        EnumWindows(MeetNewWindow, 0);
        WatchWorkingDialogs();
        Sleep(POLL_MS);
    }
    NoteEndedProcesses();
    RecordBegin("responder-done");
    RecordWrite();
    return 0;
}
