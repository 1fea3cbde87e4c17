#include "logging/logged_processes.h"

namespace logging {

namespace {

const char* ShowText(int show)
{
    return show == platform::kShowHide ? "SW_HIDE" : "SW_SHOW";
}

const char* WaitText(std::uint32_t result)
{
    if (result == platform::kWaitObject0)
        return "WAIT_OBJECT_0";
    if (result == platform::kWaitTimeout)
        return "WAIT_TIMEOUT";
    return result == platform::kWaitFailed ? "WAIT_FAILED" : "another answer";
}

}  // namespace

std::string LoggedProcesses::ProgramName()
{
    std::string name = m_inner.ProgramName();
    if (Recording())
        m_log.Call(0, "__argv[0] = \"%s\"", name.c_str());
    return name;
}

std::string LoggedProcesses::ModulePath()
{
    std::string path = m_inner.ModulePath();
    if (Recording())
        m_log.Call(ErrorIf(path.empty()), "GetModuleFileNameA(NULL) = \"%s\"", path.c_str());
    return path;
}

std::string LoggedProcesses::ExpandEnvironment(const std::string& text)
{
    std::string expanded = m_inner.ExpandEnvironment(text);
    if (Recording())
        m_log.Call(0, "ExpandEnvironmentStringsA(\"%s\") = \"%s\"", text.c_str(),
                   expanded.c_str());
    return expanded;
}

std::optional<std::string> LoggedProcesses::EnvironmentVariable(const std::string& name)
{
    std::optional<std::string> value = m_inner.EnvironmentVariable(name);
    if (Recording())
        m_log.Call(0, "GetEnvironmentVariableA(\"%s\") = %s%s%s", name.c_str(),
                   value ? "\"" : "", value ? value->c_str() : "not set", value ? "\"" : "");
    return value;
}

std::uint32_t LoggedProcesses::RunCommand(const std::string& commandLine, int show)
{
    const std::uint32_t result = m_inner.RunCommand(commandLine, show);
    if (Recording()) {
        m_log.Call(result < platform::kWinExecStarted ? result : 0, "WinExec(\"%s\", %s) = %u",
                   commandLine.c_str(), ShowText(show), result);
        m_log.Outcome().HandOver(commandLine, result);
    }
    return result;
}

std::optional<platform::ProcessHandle> LoggedProcesses::Start(const std::string& commandLine,
                                                              int show)
{
    auto process = m_inner.Start(commandLine, show);
    if (!Recording())
        return process;
    m_log.Call(ErrorIf(!process), "CreateProcessA(NULL, \"%s\", %s) = %s", commandLine.c_str(),
               ShowText(show), BoolText(process.has_value()));
    // What was started: the package's setup program, or the new mixer.
    if (m_log.CurrentStep() == Step::PackageSetup)
        m_log.Outcome().Saw(process ? Event::PackageStarted : Event::PackageNotStarted);
    else if (m_log.CurrentStep() == Step::MixerReplacement)
        m_log.Outcome().Saw(process ? Event::MixerStarted : Event::MixerNotStarted);
    return process;
}

std::uint32_t LoggedProcesses::Wait(const char* function, std::uint32_t milliseconds,
                                    std::uint32_t result)
{
    if (Recording())
        m_log.Call(ErrorIf(result == platform::kWaitFailed), "%s(process, %u) = %s", function,
                   milliseconds, WaitText(result));
    return result;
}

std::uint32_t LoggedProcesses::WaitForInputIdle(platform::ProcessHandle process,
                                                std::uint32_t milliseconds)
{
    return Wait("WaitForInputIdle", milliseconds, m_inner.WaitForInputIdle(process, milliseconds));
}

std::uint32_t LoggedProcesses::WaitForExit(platform::ProcessHandle process,
                                           std::uint32_t milliseconds)
{
    return Wait("WaitForSingleObject", milliseconds, m_inner.WaitForExit(process, milliseconds));
}

std::uint32_t LoggedProcesses::ExitCode(platform::ProcessHandle process)
{
    const std::uint32_t code = m_inner.ExitCode(process);
    if (Recording()) {
        if (code == platform::kStillActive)
            m_log.Call(0, "GetExitCodeProcess(process) = STILL_ACTIVE");
        else
            m_log.Call(0, "GetExitCodeProcess(process) = %u", code);
    }
    return code;
}

void LoggedProcesses::Release(platform::ProcessHandle process)
{
    m_inner.Release(process);
    if (Recording())
        m_log.Call(0, "CloseHandle(process and its thread)");
}

void LoggedProcesses::Exit(int code)
{
    if (Recording())
        m_log.Call(0, "exit(%d)", code);
    m_log.Finish(code);
    platform::EndProgram(m_inner, code);
}

}  // namespace logging
