/* The outside program that the installer starts: the media's Setup.exe, the
 * mixer (Mixer.exe / Mixer.dat), the package's setup program, an uninstaller.
 *
 * It records how it was started (records "start": command line, current
 * directory, the show flags of its STARTUPINFO) and its end ("exit"). Its own
 * command line belongs to whoever starts it, so its behaviour is set through
 * environment variables named after its file name (KEY: "Mixer.exe" gives
 * MIXER_EXE, see ProgramKey):
 *
 *   E2E_STAY_MS_<KEY>=n      stay running for n ms before it ends
 *   E2E_WINDOW_<KEY>=title   hold a top-level window with this title until it
 *                            gets WM_CLOSE (at most E2E_STAY_MS_<KEY>, 60 s
 *                            without it)
 *   E2E_EXIT_CODE_<KEY>=n    end with exit code n (0 without it)
 */
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "holder.h"
#include "records.h"

static BOOL ProgramSetting(const char* prefix, const char* key, char* value, DWORD size)
{
    char name[MAX_PATH + 32];
    DWORD n;
    lstrcpynA(name, prefix, sizeof name);
    strncat(name, key, sizeof name - strlen(name) - 1);
    n = GetEnvironmentVariableA(name, value, size);
    return n > 0 && n < size;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    char key[MAX_PATH];
    char title[512];
    char number[32];
    DWORD stayMs = 0;
    int exitCode = 0;
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;

    RecordBegin("start");
    RecordStartFields();
    RecordWrite();

    ProgramKey(key, sizeof key);
    if (ProgramSetting("E2E_STAY_MS_", key, number, sizeof number))
        stayMs = strtoul(number, NULL, 10);
    if (ProgramSetting("E2E_EXIT_CODE_", key, number, sizeof number))
        exitCode = atoi(number);

    if (ProgramSetting("E2E_WINDOW_", key, title, sizeof title)) {
        HoldOptions options;
        options.title = title;
        options.className = NULL;
        options.maxMs = stayMs ? stayMs : 60000;
        options.ignoreClose = FALSE;
        HoldWindow(&options);
    } else if (stayMs) {
        Sleep(stayMs);
    }

    RecordBegin("exit");
    RecordFieldNumber("exit_code", (unsigned long)exitCode);
    RecordWrite();
    return exitCode;
}
