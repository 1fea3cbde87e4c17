// This process and the programs it starts.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

constexpr int kShowHide = 0;  // SW_HIDE
constexpr int kShowShow = 5;  // SW_SHOW
constexpr std::uint32_t kStillActive = 259;   // STILL_ACTIVE
constexpr std::uint32_t kWaitObject0 = 0;     // WAIT_OBJECT_0
constexpr std::uint32_t kWaitTimeout = 258;   // WAIT_TIMEOUT
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;  // WAIT_FAILED
// WinExec answers 32 or more when the program started; below that its
// answer is the error.
constexpr std::uint32_t kWinExecStarted = 32;

class Processes {
public:
    virtual ~Processes() = default;

    // The first element of the C runtime's __argv: the program name as the
    // command line gave it.
    virtual std::string ProgramName() = 0;
    // GetModuleFileNameA of the running program.
    virtual std::string ModulePath() = 0;

    // ExpandEnvironmentStringsA: each "%NAME%" of a variable this process has
    // becomes its value; other text, unknown names included, stays as it is.
    // The text unchanged when the call fails.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
    // GetEnvironmentVariableA: the value of one of this process's variables;
    // nothing when it has no such variable or an empty one.
    virtual std::optional<std::string> EnvironmentVariable(const std::string& name) = 0;

    // WinExec.
    virtual std::uint32_t RunCommand(const std::string& commandLine, int show) = 0;

    // CreateProcessA with no application name, the command line as given, no
    // security attributes, no inherited handles, creation flags 0, the
    // installer's environment and current directory, and a STARTUPINFOA that
    // is zero but for cb = 68, dwFlags = STARTF_USESHOWWINDOW and wShowWindow.
    // Nothing when the process was not started.
    virtual std::optional<ProcessHandle> Start(const std::string& commandLine, int show) = 0;
    // WaitForInputIdle.
    virtual std::uint32_t WaitForInputIdle(ProcessHandle process, std::uint32_t milliseconds) = 0;
    // WaitForSingleObject on the process.
    virtual std::uint32_t WaitForExit(ProcessHandle process, std::uint32_t milliseconds) = 0;
    // GetExitCodeProcess: kStillActive while it runs.
    virtual std::uint32_t ExitCode(ProcessHandle process) = 0;
    // Releases the handles of a started process (it keeps running).
    virtual void Release(ProcessHandle process) = 0;

    // The C runtime's exit: ends this process with the code.
    [[noreturn]] virtual void Exit(int code) = 0;
};

// Ends the program with the code. The compiler cannot see that a virtual
// [[noreturn]] call never comes back, hence the abort after it.
[[noreturn]] inline void EndProgram(Processes& processes, int code)
{
    processes.Exit(code);
    std::abort();
}

}  // namespace platform
