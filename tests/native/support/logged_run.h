// Running the installer on a simulated machine the way the program starts
// it: behind the log on request, with the simulated Windows as the log's host.
#pragma once

#include <string>

#include "sim/sim_log_host.h"
#include "support/installer_run.h"

// As winmain.cpp does: one lookup of W2KSETUP_LOG, the logging layer in
// front of the machine's services, the log written through `host`.
InstallerRun RunWithLogOnRequest(sim::SimMachine& machine, sim::SimLogHost& host,
                                 const std::string& commandLine);
