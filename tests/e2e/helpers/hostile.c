/* A hostile program on a media: it tries every way out of its Windows that
 * Wine leaves open, and notes in its own record on C: what each try gave.
 *
 *   - write a file into the host's /tmp (by Z: and by \\?\unix\), into its
 *     home folder and into its user's Desktop, and onto the media (D:);
 *   - read the host's files named in its settings and copy what it read
 *     onto C:;
 *   - connect to a listener on 127.0.0.1 and send its token;
 *   - start a Unix shell that writes a file at once, and one that writes a
 *     file a while after the run has ended;
 *   - start a copy of itself, detached, that writes a file after that while;
 *   - open for writing a system file that the prefix shares with others.
 *
 * Its settings come from hostile.ini in its folder or one above it:
 *
 *   [hostile]
 *   token=...        a word that names every file and command it makes
 *   port=...         the listener's port
 *   home=/root       the host's home folder
 *   late_ms=...      how long the late programs wait
 *
 * Its record is C:\hostile\record.txt, one line per try: what, where, and
 * "ok" or the Windows error code. What it read is C:\hostile\copied-N.bin.
 * Started as "hostile.exe late TOKEN MS" it is the detached copy. */
#include <winsock2.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define RECORD "C:\\hostile\\record.txt"

static char g_token[64];
static char g_home[MAX_PATH];
static unsigned g_port;
static unsigned g_lateMs;

static void Note(const char* what, const char* where, BOOL ok, DWORD error)
{
    char line[2 * MAX_PATH + 64];
    DWORD written;
    HANDLE file = CreateFileA(RECORD, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    if (ok)
        _snprintf(line, sizeof line, "%s\t%s\tok\r\n", what, where);
    else
        _snprintf(line, sizeof line, "%s\t%s\terror %lu\r\n", what, where, error);
    line[sizeof line - 1] = '\0';
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    CloseHandle(file);
}

/* A host path as the program would name it: "Z:/tmp/x" or "\\?\unix/tmp/x". */
static void HostPath(char* out, size_t size, const char* way, const char* unixPath)
{
    size_t i;
    _snprintf(out, size, "%s%s", way, unixPath);
    out[size - 1] = '\0';
    for (i = 0; out[i]; ++i)
        if (out[i] == '/')
            out[i] = '\\';
}

static void TryWrite(const char* path)
{
    DWORD written;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        Note("write", path, FALSE, GetLastError());
        return;
    }
    WriteFile(file, g_token, (DWORD)strlen(g_token), &written, NULL);
    CloseHandle(file);
    Note("write", path, TRUE, 0);
}

/* A system file that every prefix shares with the one it was made from:
 * a write handle to it could change the Windows of runs to come. It is only
 * opened, never written. */
static void TryOpenForWriting(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        Note("open shared", path, FALSE, GetLastError());
        return;
    }
    CloseHandle(file);
    Note("open shared", path, TRUE, 0);
}

static void TryRead(const char* path, int number)
{
    static char data[65536];
    char copy[MAX_PATH];
    DWORD got = 0, written;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        Note("read", path, FALSE, GetLastError());
        return;
    }
    ReadFile(file, data, sizeof data, &got, NULL);
    CloseHandle(file);
    Note("read", path, TRUE, 0);
    _snprintf(copy, sizeof copy, "C:\\hostile\\copied-%d.bin", number);
    file = CreateFileA(copy, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, data, got, &written, NULL);
        CloseHandle(file);
    }
}

static void TryConnect(void)
{
    WSADATA wsa;
    struct sockaddr_in address;
    SOCKET s;
    char where[64];
    _snprintf(where, sizeof where, "127.0.0.1:%u", g_port);
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        Note("connect", where, FALSE, (DWORD)WSAGetLastError());
        return;
    }
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons((unsigned short)g_port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s == INVALID_SOCKET || connect(s, (struct sockaddr*)&address, sizeof address) != 0) {
        Note("connect", where, FALSE, (DWORD)WSAGetLastError());
    } else {
        send(s, g_token, (int)strlen(g_token), 0);
        Note("connect", where, TRUE, 0);
    }
    if (s != INVALID_SOCKET)
        closesocket(s);
    WSACleanup();
}

static void TryStart(const char* what, const char* program, const char* commandLine,
                     DWORD flags)
{
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    char line[1024];
    lstrcpynA(line, commandLine, sizeof line);
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(program, line, NULL, NULL, FALSE, flags, NULL, NULL, &startup,
                        &process)) {
        Note(what, commandLine, FALSE, GetLastError());
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Note(what, commandLine, TRUE, 0);
}

static void TryShells(void)
{
    static const char* const ways[] = {"Z:", "\\\\?\\unix"};
    char shell[MAX_PATH];
    char line[1024];
    size_t i;
    for (i = 0; i < sizeof ways / sizeof ways[0]; ++i) {
        HostPath(shell, sizeof shell, ways[i], "/bin/sh");
        _snprintf(line, sizeof line, "/bin/sh -c \"echo %s > /tmp/%s-shell-%u\"", g_token,
                  g_token, (unsigned)i);
        line[sizeof line - 1] = '\0';
        TryStart("shell", shell, line, 0);
        /* The sandbox has no sleep program, but a Python. */
        _snprintf(line, sizeof line,
                  "/bin/sh -c \"sleep %u 2>/dev/null || python3 -c 'import time; time.sleep(%u)'; "
                  "echo %s > /tmp/%s-late-shell-%u\"",
                  (g_lateMs + 999) / 1000, (g_lateMs + 999) / 1000, g_token, g_token,
                  (unsigned)i);
        line[sizeof line - 1] = '\0';
        TryStart("late shell", shell, line, 0);
    }
}

static void WriteEverywhere(const char* suffix)
{
    static const char* const ways[] = {"Z:", "\\\\?\\unix"};
    char unixPath[MAX_PATH];
    char path[MAX_PATH];
    size_t i;
    for (i = 0; i < sizeof ways / sizeof ways[0]; ++i) {
        _snprintf(unixPath, sizeof unixPath, "/tmp/%s-%s-%u", g_token, suffix, (unsigned)i);
        HostPath(path, sizeof path, ways[i], unixPath);
        TryWrite(path);
        _snprintf(unixPath, sizeof unixPath, "%s/%s-%s-%u", g_home, g_token, suffix, (unsigned)i);
        HostPath(path, sizeof path, ways[i], unixPath);
        TryWrite(path);
    }
}

/* The detached copy: it waits past the end of the run, then writes. */
static int Late(const char* token, unsigned ms)
{
    lstrcpynA(g_token, token, sizeof g_token);
    Sleep(ms);
    WriteEverywhere("late-windows");
    return 0;
}

static BOOL FindSettings(char* path, DWORD size)
{
    DWORD n = GetModuleFileNameA(NULL, path, size);
    while (n > 0) {
        while (n > 0 && path[n - 1] != '\\')
            --n;
        if (n == 0 || n + 12 >= size)
            return FALSE;
        strcpy(path + n, "hostile.ini");
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            return TRUE;
        --n; /* drop the backslash, go one folder up */
    }
    return FALSE;
}

int main(int argc, char** argv)
{
    char settings[MAX_PATH];
    char number[32];
    char path[MAX_PATH];
    char line[1024];
    char self[MAX_PATH];
    char* profile;
    if (argc == 4 && strcmp(argv[1], "late") == 0)
        return Late(argv[2], (unsigned)strtoul(argv[3], NULL, 10));

    CreateDirectoryA("C:\\hostile", NULL);
    if (!FindSettings(settings, sizeof settings)) {
        Note("settings", "hostile.ini", FALSE, GetLastError());
        return 0;
    }
    Note("settings", settings, TRUE, 0);
    GetPrivateProfileStringA("hostile", "token", "", g_token, sizeof g_token, settings);
    GetPrivateProfileStringA("hostile", "home", "/root", g_home, sizeof g_home, settings);
    GetPrivateProfileStringA("hostile", "port", "0", number, sizeof number, settings);
    g_port = (unsigned)strtoul(number, NULL, 10);
    GetPrivateProfileStringA("hostile", "late_ms", "3000", number, sizeof number, settings);
    g_lateMs = (unsigned)strtoul(number, NULL, 10);

    WriteEverywhere("written");
    _snprintf(path, sizeof path, "D:\\%s-media", g_token);
    TryWrite(path);
    profile = getenv("USERPROFILE");
    if (profile) {
        _snprintf(path, sizeof path, "%s\\Desktop\\%s-desktop", profile, g_token);
        path[sizeof path - 1] = '\0';
        TryWrite(path);
    }

    TryOpenForWriting("C:\\windows\\system32\\kernel32.dll");

    HostPath(path, sizeof path, "Z:", "/tmp/");
    _snprintf(path + strlen(path), sizeof path - strlen(path), "%s-secret", g_token);
    TryRead(path, 1);
    HostPath(path, sizeof path, "\\\\?\\unix", "/tmp/");
    _snprintf(path + strlen(path), sizeof path - strlen(path), "%s-secret", g_token);
    TryRead(path, 2);
    _snprintf(line, sizeof line, "%s/%s-secret", g_home, g_token);
    HostPath(path, sizeof path, "Z:", line);
    TryRead(path, 3);
    HostPath(path, sizeof path, "\\\\?\\unix", line);
    TryRead(path, 4);

    TryConnect();
    TryShells();

    GetModuleFileNameA(NULL, self, sizeof self);
    _snprintf(line, sizeof line, "\"%s\" late %s %u", self, g_token, g_lateMs);
    line[sizeof line - 1] = '\0';
    TryStart("late windows", self, line, DETACHED_PROCESS);
    Note("done", settings, TRUE, 0);
    return 0;
}
