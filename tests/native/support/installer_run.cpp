#include "support/installer_run.h"

#include <vector>

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/setup_app.h"

namespace {

CSetupApp* g_running = nullptr;

// Also cleared when a run stops with an error of the simulation.
struct RunningScope {
    explicit RunningScope(CSetupApp& app) { g_running = &app; }
    ~RunningScope() { g_running = nullptr; }
};

}  // namespace

CSetupApp* RunningApplication()
{
    return g_running;
}

InstallerRun RunInstaller(sim::SimMachine& machine, const std::string& commandLine,
                          const ProgramStart& start)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    CSetupApp app;
    RunningScope scope(app);
    return RunToItsEnd([&] { return start(app, machine.os(), buffer.data()); },
                       IsSilentLiteral(UpperCased(commandLine)));
}

InstallerRun RunToItsEnd(const std::function<int()>& start, bool silent)
{
    InstallerRun run;
    try {
        run.exitCode = start();
    } catch (const sim::SimExit& exit) {
        run.exited = true;
        run.exitCode = exit.code;
        return run;
    }
    // Every path that ends by returning from the program's start ends with
    // 0, whatever happened; "/S" tells its result in the code.
    if (!silent) {
        EXPECT_EQ(run.exitCode, 0) << "exit code of a normal return";
    }
    return run;
}

void StartFrom(sim::SimMachine& machine, const std::string& exePath)
{
    machine.processes.programName = exePath;
    machine.processes.modulePath = exePath;
}
