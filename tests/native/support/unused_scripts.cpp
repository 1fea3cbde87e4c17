// Every simulated machine of the suite reports, when it goes, what a test
// queued and never used: a scripted answer for a dialog that did not come
// up, a failure that did not happen. Such a test checks less than it
// claims, so the report fails it.
#include <gtest/gtest.h>

#include "sim/sim_machine.h"

namespace {

const bool kReporterInstalled = [] {
    sim::SetUnusedScriptReporter(
        [](const std::string& unused) { ADD_FAILURE() << "unused script: " << unused; });
    return true;
}();

}  // namespace
