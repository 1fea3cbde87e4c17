// A whole simulated Windows machine: every service of the platform in memory,
// sharing one virtual clock and one record of calls. A new machine is a
// Windows XP with drive C, the Windows directory "C:\WINDOWS" with its INF
// folder, and the Run key.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sim/sim_context.h"
#include "sim/sim_desktop.h"
#include "sim/sim_devices.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_files.h"
#include "sim/sim_processes.h"
#include "sim/sim_profiles.h"
#include "sim/sim_registry.h"
#include "sim/sim_system.h"

namespace sim {

// Receives, when a machine goes, each queued script it never used: a
// scripted answer for a dialog that did not come up, a failure asked for
// that did not happen. A test suite sets it to fail the test; without it
// nothing is reported. Returns the reporter it replaces.
using UnusedScriptReporter = std::function<void(const std::string& unused)>;
UnusedScriptReporter SetUnusedScriptReporter(UnusedScriptReporter reporter);

class SimMachine {
public:
    SimMachine();
    ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    SimContext context;
    SimFaults& faults = context.faults;
    SimVersion version{context};
    SimRegistry registry{context};
    SimFileSystem files{context};
    SimProfiles profiles{context, files};
    SimProcesses processes{context, files};
    SimDesktop desktop{context};
    SimClock clock{context};
    SimSecurity security{context};
    SimDevices devices{context, files};
    SimMixer mixer{context};
    SimDialogs dialogs{context};
    SimErrors errors{context};

    platform::Platform& os() { return m_platform; }
    SimLog& log() { return context.log; }
    std::uint64_t now() const { return context.now; }

    // What the system still holds: registry keys, process handles, the
    // process token, device information sets, queried source lists, file
    // searches, streams and paint contexts, one line each, and a wait cursor
    // not ended (or ended once too often). Empty when everything was given back.
    std::vector<std::string> LeftOpen() const;
    // The queued scripts not used so far.
    std::vector<std::string> UnusedScripts() const;

private:
    platform::Platform m_platform;
};

}  // namespace sim
