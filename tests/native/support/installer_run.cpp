#include "support/installer_run.h"

#include <vector>

#include "app/setup_app.h"

InstallerRun RunInstaller(sim::SimMachine& machine, const std::string& commandLine)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    CSetupApp app;
    InstallerRun run;
    try {
        AfxWinMain(app, machine.os(), buffer.data());
    } catch (const sim::SimExit& exit) {
        run.exited = true;
        run.exitCode = exit.code;
    }
    return run;
}

void StartFrom(sim::SimMachine& machine, const std::string& exePath)
{
    machine.processes.programName = exePath;
    machine.processes.modulePath = exePath;
}
