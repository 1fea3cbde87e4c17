// Measures, on Windows or Wine, the processor time the installer spends
// waiting for the previous package's uninstaller. The uninstaller here is
// this program started again as a console program that only sleeps, so
// WaitForInputIdle returns at once for it, as for a real console uninstaller.
//
//   uninstall_wait_check.exe [milliseconds]   measures; exit code 0 when the wait
//                                            used under a tenth of its time
//   uninstall_wait_check.exe sleep N ...      the stand-in uninstaller
//
// It registers itself under the package's uninstall key for the run and
// removes the key afterwards. For comparison it also times the loop without
// the wait on the process (WaitForInputIdle and GetExitCodeProcess only).
#include "package/previous_package.h"
#include "win32/win32_platform.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio Applications";

double ProcessorSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        ULARGE_INTEGER value;
        value.LowPart = time.dwLowDateTime;
        value.HighPart = time.dwHighDateTime;
        return value.QuadPart / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

bool RegisterUninstaller(const std::string& command)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, "UninstallString", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The loop as first written: nothing but WaitForInputIdle between the looks.
void WaitWithoutBlocking(const std::string& command)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    std::string line = command + " -a";
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return;
    DWORD code = STILL_ACTIVE;
    do {
        WaitForInputIdle(started.hProcess, 1000);
        GetExitCodeProcess(started.hProcess, &code);
    } while (code == STILL_ACTIVE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

struct Measure {
    double wall;
    double processor;
};

template <typename Wait>
Measure Time(Wait wait)
{
    DWORD begin = GetTickCount();
    double before = ProcessorSeconds();
    wait();
    return {(GetTickCount() - begin) / 1000.0, ProcessorSeconds() - before};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "sleep") == 0) {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    int milliseconds = argc >= 2 ? std::atoi(argv[1]) : 3000;

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" sleep " + std::to_string(milliseconds);
    if (!RegisterUninstaller(command)) {
        std::printf("cannot register the stand-in uninstaller\n");
        return 2;
    }

    win32::Win32Platform platform;
    Measure fixed = Time([&] { UninstallPreviousPackage(platform.Services()); });
    Measure spinning = Time([&] { WaitWithoutBlocking(command); });
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);

    std::printf("uninstaller running %.1f s, console program\n", milliseconds / 1000.0);
    std::printf("  installer's wait:            %.2f s wall, %.3f s processor (%.1f %%)\n",
                fixed.wall, fixed.processor, 100 * fixed.processor / fixed.wall);
    std::printf("  WaitForInputIdle loop alone: %.2f s wall, %.3f s processor (%.1f %%)\n",
                spinning.wall, spinning.processor, 100 * spinning.processor / spinning.wall);
    bool endedWithIt = fixed.wall >= milliseconds / 1000.0 - 0.05;
    return endedWithIt && fixed.processor < 0.1 * fixed.wall ? 0 : 1;
}
