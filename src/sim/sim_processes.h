// Processes of the simulated machine: this program's own names, the programs
// it starts (found the way CreateProcessA finds them), their lifetimes on the
// virtual clock, and the exit of this program.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/processes.h"
#include "sim/sim_context.h"
#include "sim/sim_files.h"

namespace sim {

// How a program behaves once started.
struct SimProgram {
    std::uint64_t runsFor = 0;      // virtual milliseconds until it ends
    std::uint64_t idleAfter = 0;    // until it waits for input
    bool hasMessageQueue = true;    // a console program makes WaitForInputIdle return at once
    std::uint32_t exitCode = 0;
    std::function<void()> onStart;  // what it does to the machine when it starts
};

using platform::kWaitFailed;

struct SimStartedProcess {
    std::string function;     // "CreateProcessA" or "WinExec"
    std::string commandLine;  // as given
    std::string image;        // the program file that was found
    int show = 0;
    std::string currentDirectory;
    std::uint64_t startedAt = 0;
};

class SimProcesses : public platform::Processes {
public:
    SimProcesses(SimContext& context, SimFileSystem& files) : m_context(context), m_files(files) {}

    // The machine's side, for tests.
    std::string programName = "C:\\W2KSETUP.EXE";  // __argv[0]
    std::string modulePath = "C:\\W2KSETUP.EXE";   // GetModuleFileNameA
    // The process's environment variables, by name (without case).
    // "SystemRoot" and "windir" are the Windows directory unless set here.
    void SetEnvironment(const std::string& name, const std::string& value);
    std::optional<std::string> Environment(const std::string& name) const;
    // How the program at `image` (a full path) behaves; unknown programs end at once.
    void Define(const std::string& image, const SimProgram& program);
    const std::vector<SimStartedProcess>& Started() const { return m_started; }
    // The program file CreateProcessA would start for this command line, if any.
    std::optional<std::string> ResolveImage(const std::string& commandLine) const;
    std::size_t OpenHandleCount() const;
    // The command lines of the started processes whose handles are not released.
    std::vector<std::string> OpenHandles() const;
    // A program that asks a running process for its exit code this many
    // times without the virtual clock moving is spinning; a real one would
    // burn a processor core. The run stops with SimHang.
    static constexpr int kSpinLimit = 100000;

    // platform::Processes
    std::string ProgramName() override;
    std::string ModulePath() override;
    std::string ExpandEnvironment(const std::string& text) override;
    std::optional<std::string> EnvironmentVariable(const std::string& name) override;
    std::uint32_t RunCommand(const std::string& commandLine, int show) override;
    std::optional<platform::ProcessHandle> Start(const std::string& commandLine, int show) override;
    std::uint32_t WaitForInputIdle(platform::ProcessHandle process,
                                   std::uint32_t milliseconds) override;
    std::uint32_t WaitForExit(platform::ProcessHandle process, std::uint32_t milliseconds) override;
    std::uint32_t ExitCode(platform::ProcessHandle process) override;
    void Release(platform::ProcessHandle process) override;
    [[noreturn]] void Exit(int code) override;

private:
    struct Running {
        SimProgram program;
        std::uint64_t startedAt;
        std::string commandLine;
        bool released = false;
    };
    static std::string Detail(const std::string& commandLine, int show);
    // Finds and starts the program of a call that did not fail.
    std::optional<std::string> Launch(const std::string& function,
                                      const std::string& commandLine, int show);
    Running& Get(platform::ProcessHandle process);

    SimContext& m_context;
    SimFileSystem& m_files;
    std::map<std::string, std::string> m_environment;  // by upper-cased name
    std::map<std::string, SimProgram> m_programs;  // by upper-cased image path
    std::vector<SimStartedProcess> m_started;
    std::map<std::uintptr_t, Running> m_running;
    std::uintptr_t m_nextHandle = 0x400;
    std::uint64_t m_lastPollTime = 0;
    int m_pollsWithoutTime = 0;
};

}  // namespace sim
