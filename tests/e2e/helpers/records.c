#include "records.h"

#include <stdio.h>
#include <string.h>

static char g_record[65536];
static size_t g_length;

static void Append(const char* text)
{
    size_t n = strlen(text);
    if (g_length + n >= sizeof g_record)
        n = sizeof g_record - 1 - g_length;
    memcpy(g_record + g_length, text, n);
    g_length += n;
    g_record[g_length] = '\0';
}

static void AppendValue(const char* value)
{
    char one[2] = {0, 0};
    for (; *value; ++value) {
        if (*value == '%')
            Append("%25");
        else if (*value == '\r')
            Append("%0D");
        else if (*value == '\n')
            Append("%0A");
        else {
            one[0] = *value;
            Append(one);
        }
    }
}

void RecordFilePath(char* path, DWORD size)
{
    DWORD n = GetEnvironmentVariableA("E2E_RECORD_FILE", path, size);
    if (n > 0 && n + 3 < size) {
        if (path[0] == '/' && n + 9 < size) {
            /* A Unix path, on no drive of the prefix: Wine names it in its
               Unix name space. */
            DWORD i;
            memmove(path + 8, path, n + 1);
            memcpy(path, "\\\\?\\unix", 8);
            for (i = 8; path[i]; ++i)
                if (path[i] == '/')
                    path[i] = '\\';
        }
        return;
    }
    n = GetModuleFileNameA(NULL, path, size);
    while (n > 0 && path[n - 1] != '\\')
        --n;
    path[n] = '\0';
    if (n + 16 < size)
        strcat(path, "e2e-records.txt");
}

void ProgramKey(char* key, DWORD size)
{
    char module[MAX_PATH];
    const char* name = module;
    const char* p;
    DWORD i = 0;
    GetModuleFileNameA(NULL, module, sizeof module);
    for (p = module; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    for (; *name && i + 1 < size; ++name, ++i) {
        char c = *name;
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        else if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            c = '_';
        key[i] = c;
    }
    key[i] = '\0';
}

void RecordBegin(const char* kind)
{
    char module[MAX_PATH];
    g_length = 0;
    g_record[0] = '\0';
    Append("@record ");
    AppendValue(kind);
    Append("\n");
    GetModuleFileNameA(NULL, module, sizeof module);
    RecordField("program", module);
    RecordFieldNumber("pid", GetCurrentProcessId());
    RecordFieldNumber("tick", GetTickCount());
}

void RecordField(const char* key, const char* value)
{
    Append(key);
    Append("=");
    AppendValue(value ? value : "");
    Append("\n");
}

void RecordFieldNumber(const char* key, unsigned long value)
{
    char text[16];
    sprintf(text, "%lu", value);
    RecordField(key, text);
}

void RecordFieldSigned(const char* key, long value)
{
    char text[16];
    sprintf(text, "%ld", value);
    RecordField(key, text);
}

BOOL RecordWrite(void)
{
    char path[MAX_PATH + 4];
    DWORD written = 0;
    int attempt;
    HANDLE file = INVALID_HANDLE_VALUE;

    Append("@end\n");
    RecordFilePath(path, sizeof path);
    /* Opened without sharing, so that records of several helpers never mix;
     * a writer that finds the file busy tries again for up to 5 s. */
    for (attempt = 0; attempt < 500; ++attempt) {
        file = CreateFileA(path, FILE_APPEND_DATA, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    SetFilePointer(file, 0, NULL, FILE_END);
    WriteFile(file, g_record, (DWORD)g_length, &written, NULL);
    CloseHandle(file);
    return written == g_length;
}

void RecordStartFields(void)
{
    char directory[MAX_PATH];
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (!GetCurrentDirectoryA(sizeof directory, directory))
        directory[0] = '\0';
    RecordField("cmdline", GetCommandLineA());
    RecordField("cwd", directory);
    RecordFieldNumber("startup_flags", startup.dwFlags);
    RecordFieldNumber("show_window", startup.wShowWindow);
}

BOOL RecordSnapshot(const char* name, BOOL begun, DWORD limitMs)
{
    char path[MAX_PATH * 2];
    DWORD start = GetTickCount();
    if (!begun)
        RecordBegin("snapshot");
    RecordField("name", name);
    RecordWrite();
    RecordFilePath(path, MAX_PATH);
    strncat(path, ".ack.", sizeof path - strlen(path) - 1);
    strncat(path, name, sizeof path - strlen(path) - 1);
    while (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= limitMs)
            return FALSE;
        Sleep(20);
    }
    return TRUE;
}
