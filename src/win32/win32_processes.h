#pragma once

#include "platform/processes.h"
#include "win32/small_map.h"

namespace win32 {

class Win32Processes : public platform::Processes {
public:
    ~Win32Processes() override;

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
    // The primary thread handle of each started process, by process handle,
    // until Release closes both.
    SmallMap<void*, void*> m_threads;
};

}  // namespace win32
