// The situations the fault ring runs the installer in: each dispatch row,
// each driver variant with the device in each state, both option dialogs
// with their choices, the package with and without a previous version, the
// mixer replacement and the preferences.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ring_machine.h"

namespace fault_ring {

struct Scenario {
    std::string name;
    std::string commandLine;
    std::function<void(RingMachine&)> prepare;  // changes to the common machine
};

std::vector<Scenario> AllScenarios();

}  // namespace fault_ring
