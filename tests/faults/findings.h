// What a run with a fault did wrong, measured against the run of the same
// scenario without one.
#pragma once

#include <string>
#include <vector>

#include "ring_run.h"

namespace fault_ring {

// Each finding as one line of text. A run must end by itself within its
// limits; give back every handle, the token and the wait cursor; delete
// nothing (file, registry value, device) that the run without faults
// keeps; and never remove the device or change the INF folder while no INF
// is staged.
std::vector<std::string> FindingsOf(const RunRecord& run, const RunRecord& withoutFaults);

// "call 12 fails (CopyFileA ...)" or "calls from 12 on fail (...)", with
// the call as the run without faults made it.
std::string Describe(const Fault& fault, const RunRecord& withoutFaults);

}  // namespace fault_ring
