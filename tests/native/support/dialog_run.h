// Running the option dialogs on a simulated machine the way the program runs
// them, with a recorder standing in for the driver installation.
#pragma once

#include <functional>
#include <vector>

#include "dialogs/driver_installer.h"
#include "framework/winapp.h"
#include "support/installer_run.h"

// Runs `body` as an application's InitInstance, started by the framework on
// the machine. `exited` tells whether the body ended the process.
InstallerRun RunInApplication(sim::SimMachine& machine, const std::function<void(CWinApp&)>& body);

// Takes the driver installation's place: keeps every request, notes the call
// in the machine's record as "RunDriverInstallation <variant>", runs `during`
// inside the call, where a test looks at what the user sees while the
// installation would run, and ends as `result` says. When the restart prompt
// is due, the user answers it with "No".
class DriverInstallRecorder {
public:
    explicit DriverInstallRecorder(sim::SimMachine& machine) : m_machine(machine) {}

    DriverInstaller Installer();

    std::vector<DriverInstallRequest> requests;
    std::function<void(const DriverInstallRequest&)> during;
    DriverInstallResult result{DriverInstallOutcome::RestartNeeded, 5000};

private:
    sim::SimMachine& m_machine;
};

const char* VariantName(DriverInstallVariant variant);
