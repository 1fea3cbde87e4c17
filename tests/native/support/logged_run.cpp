#include "support/logged_run.h"

#include "logging/log_on_request.h"

InstallerRun RunWithLogOnRequest(sim::SimMachine& machine, sim::SimLogHost& host,
                                 const std::string& commandLine)
{
    return RunInstaller(machine, commandLine,
                        [&host](CWinApp& app, platform::Platform& os, char* arguments) {
                            return logging::RunWithLogOnRequest(app, os, host, arguments);
                        });
}
