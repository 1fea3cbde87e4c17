// The fault ring: each scenario is run as it is, to count its calls, then
// once per call with exactly that call failing and once per call with every
// call from that one on failing. Every finding is printed, one a line; the
// ring fails when there is any.
//
//   fault_ring [part of a scenario name]   runs only the scenarios that match
#include <cstdio>
#include <string>

#include "findings.h"
#include "scenarios.h"

namespace {

using fault_ring::Fault;
using fault_ring::RunLimits;
using fault_ring::RunRecord;

// The run without faults ends by itself; these only stop a broken scenario.
constexpr RunLimits kLimitsWithoutFaults{1000000, 24ull * 3600 * 1000};

// A run with a fault may take longer (a wait that never sees its window
// runs to its end) but not without bound: ten times the calls, and half an
// hour more of virtual time, count as a hang.
RunLimits LimitsFor(const RunRecord& withoutFaults)
{
    return {withoutFaults.calls * 10 + 1000, withoutFaults.time + 30ull * 60 * 1000};
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    std::size_t scenarios = 0;
    std::size_t runs = 0;
    std::size_t findings = 0;
    auto report = [&](const std::string& scenario, const std::string& fault,
                      const std::vector<std::string>& found) {
        for (const std::string& finding : found) {
            std::printf("finding: %s | %s | %s\n", scenario.c_str(), fault.c_str(),
                        finding.c_str());
            ++findings;
        }
    };

    for (const fault_ring::Scenario& scenario : fault_ring::AllScenarios()) {
        if (scenario.name.find(only) == std::string::npos)
            continue;
        ++scenarios;
        const RunRecord withoutFaults =
            fault_ring::RunScenario(scenario, Fault{}, kLimitsWithoutFaults, true);
        ++runs;
        report(scenario.name, "no fault", fault_ring::FindingsOf(withoutFaults, withoutFaults));
        if (withoutFaults.end == RunRecord::End::UserEndedTheProgram)
            report(scenario.name, "no fault", {withoutFaults.endMessage});

        const RunLimits limits = LimitsFor(withoutFaults);
        for (std::uint64_t call = 1; call <= withoutFaults.calls; ++call) {
            for (Fault::Kind kind : {Fault::Kind::Exactly, Fault::Kind::FromOn}) {
                const Fault fault{kind, call};
                const RunRecord run = fault_ring::RunScenario(scenario, fault, limits, false);
                ++runs;
                report(scenario.name, fault_ring::Describe(fault, withoutFaults),
                       fault_ring::FindingsOf(run, withoutFaults));
            }
        }
    }
    std::printf("faults: %zu scenarios, %zu runs, %zu findings\n", scenarios, runs, findings);
    return findings == 0 ? 0 : 1;
}
