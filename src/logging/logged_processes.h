#pragma once

#include "logging/logged_service.h"
#include "platform/processes.h"

namespace logging {

// Also where a run can end: the C runtime's exit writes the log's last line first.
class LoggedProcesses : public platform::Processes, private LoggedService {
public:
    LoggedProcesses(platform::Processes& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

    std::string ProgramName() override;
    std::string ModulePath() override;
    std::string ExpandEnvironment(const std::string& text) override;
    std::optional<std::string> EnvironmentVariable(const std::string& name) override;
    std::uint32_t RunCommand(const std::string& commandLine, int show) override;
    std::optional<platform::ProcessHandle> Start(const std::string& commandLine,
                                                 int show) override;
    std::uint32_t WaitForInputIdle(platform::ProcessHandle process,
                                   std::uint32_t milliseconds) override;
    std::uint32_t WaitForExit(platform::ProcessHandle process,
                              std::uint32_t milliseconds) override;
    std::uint32_t ExitCode(platform::ProcessHandle process) override;
    void Release(platform::ProcessHandle process) override;
    [[noreturn]] void Exit(int code) override;

private:
    std::uint32_t Wait(const char* function, std::uint32_t milliseconds, std::uint32_t result);

    platform::Processes& m_inner;
};

}  // namespace logging
