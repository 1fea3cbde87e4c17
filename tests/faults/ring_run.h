// One run of the installer in a scenario, with or without a fault, and what
// the ring needs to know of it afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "scenarios.h"

namespace fault_ring {

struct Fault {
    enum class Kind { None, Exactly, FromOn };
    Kind kind = Kind::None;
    std::uint64_t call = 0;  // the number of the failing call
};

// What a machine holds that a run could lose, each by a key that ignores
// case, with the text to show: files, registry values, present devices.
struct Holdings {
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> devices;
};

struct RunRecord {
    enum class End { Returned, Exited, UserEndedTheProgram, Hang, SimulationError };
    End end = End::Returned;
    std::string endMessage;
    int exitCode = 0;
    bool silent = false;  // a "/S" run, whose exit code tells its result
    // The device was updated or an OEM INF registered: Plug and Play has the
    // new driver.
    bool driverHandedOver = false;
    std::uint64_t calls = 0;
    std::uint64_t time = 0;
    Holdings before;
    Holdings after;
    std::vector<std::string> leftOpen;
    // Device removals and changes to the INF folder made while no INF was staged.
    std::vector<std::string> unstagedChanges;
    // Devices removed while the staged INF was there: Plug and Play installs
    // them from it again.
    std::set<std::string> removedWithStagedInf;
    std::vector<sim::SimCall> log;  // kept only when asked for
};

struct RunLimits {
    std::uint64_t calls = 0;
    std::uint64_t time = 0;
};

RunRecord RunScenario(const Scenario& scenario, const Fault& fault, const RunLimits& limits,
                      bool keepLog);

}  // namespace fault_ring
