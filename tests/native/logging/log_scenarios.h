// The runs the log's tests look at, each set up on a fresh machine with its
// media on drive D, and what the tests read of a log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/sim_log_host.h"
#include "support/logged_run.h"
#include "support/setup_machine.h"

namespace log_scenarios {

inline constexpr const char* kHardwareId = "PCI\\VEN_7E2D&DEV_0111";
inline constexpr const char* kWindowsLog = "C:\\WINDOWS\\w2ksetup.log";

// Windows XP (service pack 2) with the sound device: the main options
// dialog, where the user clears "Install Applications" and presses OK; the
// restart prompt answered with `restart`.
void TypicalXpRun(SetupMachine& machine, bool restart);
// The same, but the direct update fails, so the device is removed and
// reinstalled.
void FailingUpdateRun(SetupMachine& machine);
// Windows 98 with DriverOnly=1: the hand-over to the media's Setup.exe.
void Windows98HandOver(SetupMachine& machine);
// After the restart: Mixer.dat and the running mixer.
void MixerReplacementRun(SetupMachine& machine);
// "/AP" on XP: the package's setup program, then exit.
void PackageRun(SetupMachine& machine);
// WebSetup=1 without InstallWDMDriver: nothing is installed.
void WebSetupWithoutDriver(SetupMachine& machine);
// Windows XP with the sound device and the XP driver package, for "/S".
void SilentXpRun(SetupMachine& machine);

struct Scenario {
    const char* name;
    std::function<void(SetupMachine&)> setUp;
    const char* commandLine;
    bool readsSetupIni;  // the mixer replacement never gets there
};
std::vector<Scenario> All();

// A machine set up for a scenario, with the log's host beside it.
struct LoggedRun {
    SetupMachine machine;
    sim::SimLogHost host{machine.context, machine.files};
    InstallerRun result;

    InstallerRun Run(const std::string& commandLine);
    // The lines of the log at `path`, without their line ends.
    std::vector<std::string> LogLines(const std::string& path = kWindowsLog) const;
};

// Every call the machine recorded, as "time function detail".
std::vector<std::string> Calls(const sim::SimLog& log);
// A run's calls without those its log made for itself: the lookup of the
// variable, the LogFile read, the looks at its file (and the Windows
// directory for it) and a write that failed.
std::vector<std::string> WithoutTheLogsOwnCalls(std::vector<std::string> calls);
// Every file on drives C and D with its bytes, as "path: bytes".
std::vector<std::string> Files(const SetupMachine& machine);
// The lines that contain `part`.
std::vector<std::string> Containing(const std::vector<std::string>& lines, const std::string& part);
// The step column of each call line, without repeats in a row.
std::vector<std::string> Steps(const std::vector<std::string>& lines);

}  // namespace log_scenarios
