// A whole simulated Windows machine: every service of the platform in memory,
// sharing one virtual clock and one record of calls. A new machine is a
// Windows XP with drive C, the Windows directory "C:\WINDOWS" with its INF
// folder, and the Run key.
#pragma once

#include "platform/platform.h"
#include "platform/sim/sim_context.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_dialogs.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_profiles.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_system.h"

namespace sim {

class SimMachine {
public:
    SimMachine();
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

private:
    platform::Platform m_platform;
};

}  // namespace sim
