#include "win32/win32_processes.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "win32/system_text.h"
#include "win32/win32_handles.h"

namespace win32 {

// 68 bytes in the product; the x86-64 twin's pointers and handles make it 104.
static_assert(sizeof(STARTUPINFOA) == (sizeof(void*) == 4 ? 68 : 104),
              "CreateProcessA is given a STARTUPINFOA of its platform's size");

Win32Processes::~Win32Processes()
{
    for (auto& started : m_threads) {
        CloseHandle(started.second);
        CloseHandle(started.first);
    }
}

std::string Win32Processes::ProgramName()
{
    // msvcrt's own __argv and __argc, read through their import slots, as
    // Microsoft's start-up code for msvcrt.dll does; the __p___argv accessor
    // that <stdlib.h> would call is not known to be in the msvcrt.dll of
    // Windows 95 and NT 4.0.
    char** arguments = *__MINGW_IMP_SYMBOL(__argv);
    int count = *__MINGW_IMP_SYMBOL(__argc);
    if (count < 1 || arguments == nullptr || arguments[0] == nullptr)
        return std::string();
    return arguments[0];
}

std::string Win32Processes::ExpandEnvironment(const std::string& text)
{
    // The call answers with the size it needs, its zero included; one that
    // does not fit is asked again with that much room.
    std::vector<char> buffer(text.size() + 1, '\0');
    for (;;) {
        DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()));
        if (needed == 0)
            return text;
        if (needed <= buffer.size())
            return std::string(buffer.data());
        buffer.assign(needed, '\0');
    }
}

std::optional<std::string> Win32Processes::EnvironmentVariable(const std::string& name)
{
    std::string value = FetchText([&name](char* buffer, DWORD size) {
        return GetEnvironmentVariableA(name.c_str(), buffer, size);
    });
    if (value.empty())
        return std::nullopt;
    return value;
}

std::string Win32Processes::ModulePath()
{
    // A name that fills the buffer may have been cut: ask again with more room.
    std::vector<char> buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(),
                                          static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size() - 1 || buffer.size() >= 32768)
            return std::string(buffer.data(), length < buffer.size() ? length : buffer.size());
        buffer.assign(buffer.size() * 2, '\0');
    }
}

std::uint32_t Win32Processes::RunCommand(const std::string& commandLine, int show)
{
    return WinExec(commandLine.c_str(), static_cast<UINT>(show));
}

std::optional<platform::ProcessHandle> Win32Processes::Start(const std::string& commandLine,
                                                             int show)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);

    // CreateProcessA may write into the command line: give it a copy.
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');

    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return std::nullopt;
    m_threads[started.hProcess] = started.hThread;
    return ToOpaque<platform::ProcessHandle>(started.hProcess);
}

std::uint32_t Win32Processes::WaitForInputIdle(platform::ProcessHandle process,
                                               std::uint32_t milliseconds)
{
    return ::WaitForInputIdle(ToNative<HANDLE>(process), milliseconds);
}

std::uint32_t Win32Processes::WaitForExit(platform::ProcessHandle process,
                                          std::uint32_t milliseconds)
{
    return WaitForSingleObject(ToNative<HANDLE>(process), milliseconds);
}

std::uint32_t Win32Processes::ExitCode(platform::ProcessHandle process)
{
    DWORD code = 0;
    // A process that cannot be asked is not taken for a running one: a wait
    // for its end would otherwise never finish.
    if (!GetExitCodeProcess(ToNative<HANDLE>(process), &code))
        return 0;
    return code;
}

void Win32Processes::Release(platform::ProcessHandle process)
{
    HANDLE handle = ToNative<HANDLE>(process);
    auto started = m_threads.find(handle);
    if (started == m_threads.end())
        return;
    CloseHandle(started->second);
    CloseHandle(started->first);
    m_threads.erase(started);
}

void Win32Processes::Exit(int code)
{
    std::exit(code);
}

}  // namespace win32
