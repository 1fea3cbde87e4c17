// Runs the installer on a simulated machine the way Windows starts it.
#pragma once

#include <functional>
#include <string>

#include "framework/winapp.h"
#include "sim/sim_machine.h"

struct InstallerRun {
    bool exited = false;  // ended through the C runtime's exit
    int exitCode = 0;     // given to exit, or returned by the program's start
};

// Runs the program's start and returns how it ended. A start that returns
// must return 0, unless it was a "/S" run (`silent`), whose exit code tells
// its result; a test that gets anything else fails.
InstallerRun RunToItsEnd(const std::function<int()>& start, bool silent = false);

// How the program starts the application object on a platform: the
// framework's AfxWinMain, or the start behind the log on request.
using ProgramStart = std::function<int(CWinApp&, platform::Platform&, char* commandLine)>;

// Constructs the application object and runs it with this command line (the
// text after the program name). The program name itself is the machine's
// processes.programName. Only a "/S" run may end with a code other than 0.
InstallerRun RunInstaller(sim::SimMachine& machine, const std::string& commandLine,
                          const ProgramStart& start = AfxWinMain);

class CSetupApp;
// The application object of the run in progress, for scripts that look at
// it while a dialog is up; null between runs.
CSetupApp* RunningApplication();

// The machine's program name and current directory as a start from `exePath`
// (a full path on the machine) gives them.
void StartFrom(sim::SimMachine& machine, const std::string& exePath);
