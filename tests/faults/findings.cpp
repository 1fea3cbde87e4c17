#include "findings.h"

#include <functional>
#include <map>

#include "common/ascii.h"

namespace fault_ring {

namespace {

using Held = std::map<std::string, std::string>;

// Files a run may delete by design whatever else it does. Windows rebuilds
// its INF database caches, and the forced reinstall deletes them on purpose:
// it is the designed way on whenever the direct update fails (their
// deletion with no INF staged is a finding of its own). An earlier driver's
// INF goes with every driver installation, and a fault that changes what the
// user sees can lead to one: a box that shows unchecked, a package that
// seems missing.
bool DeletedByDesign(const std::string& upperPath)
{
    for (const char* path : {"C:\\WINDOWS\\INF\\Drvdata.bin", "C:\\WINDOWS\\INF\\Drvidx.bin",
                             kEarlierDriverInf, kEarlierDriverPnf}) {
        if (upperPath == AsciiUpper(path))
            return true;
    }
    return false;
}

// What was there before the run without faults and still is after it.
Held Kept(const Held& before, const Held& after)
{
    Held kept;
    for (const auto& [key, shown] : before) {
        if (after.count(key))
            kept[key] = shown;
    }
    return kept;
}

void FindLosses(const Held& before, const Held& after, const Held& afterFault,
                const std::string& kind, std::vector<std::string>& findings,
                const std::function<bool(const std::string&)>& excused)
{
    for (const auto& [key, shown] : Kept(before, after)) {
        if (!afterFault.count(key) && !excused(key))
            findings.push_back("lost " + kind + " " + shown + ", which the run without faults keeps");
    }
}

// A script believes the exit code: "/S" says installed (0 or 3010) exactly
// when Plug and Play got the new driver; every other start ends with 0.
void FindWrongExitCode(const RunRecord& run, std::vector<std::string>& findings)
{
    if (run.end != RunRecord::End::Returned && run.end != RunRecord::End::Exited)
        return;
    const std::string code = "exit code " + std::to_string(run.exitCode);
    if (!run.silent) {
        if (run.exitCode != 0)
            findings.push_back(code + " from a start that always ends with 0");
        return;
    }
    const bool saysInstalled = run.exitCode == 0 || run.exitCode == 3010;
    if (saysInstalled && !run.driverHandedOver)
        findings.push_back(code + ", yet Plug and Play got no new driver");
    if (!saysInstalled && run.driverHandedOver)
        findings.push_back(code + ", yet Plug and Play got the new driver");
}

}  // namespace

std::vector<std::string> FindingsOf(const RunRecord& run, const RunRecord& withoutFaults)
{
    std::vector<std::string> findings;
    switch (run.end) {
    case RunRecord::End::Hang:
        findings.push_back("hang: " + run.endMessage);
        break;
    case RunRecord::End::SimulationError:
        findings.push_back("the run stopped: " + run.endMessage);
        break;
    case RunRecord::End::Returned:
    case RunRecord::End::Exited:
        // A program that ends by itself gives back what it holds.
        for (const std::string& open : run.leftOpen)
            findings.push_back("left open: " + open);
        break;
    case RunRecord::End::UserEndedTheProgram:
        // The user ended a program stuck in a dialog that would not close.
        // While a dialog waits for the user the program holds nothing but,
        // inside a driver installation, its wait cursor.
        for (const std::string& open : run.leftOpen) {
            if (open.compare(0, 11, "wait cursor") != 0)
                findings.push_back("left open while a dialog waited: " + open);
        }
        break;
    }

    const Holdings& before = withoutFaults.before;
    const Holdings& after = withoutFaults.after;
    FindLosses(before.files, after.files, run.after.files, "the file", findings,
               DeletedByDesign);
    FindLosses(before.values, after.values, run.after.values, "the registry value", findings,
               [](const std::string&) { return false; });
    // A device removed while its INF was staged is Plug and Play's to
    // install again at the next start.
    FindLosses(before.devices, after.devices, run.after.devices, "the device", findings,
               [&run](const std::string& key) { return run.removedWithStagedInf.count(key) != 0; });

    for (const std::string& change : run.unstagedChanges)
        findings.push_back(change);
    FindWrongExitCode(run, findings);
    return findings;
}

std::string Describe(const Fault& fault, const RunRecord& withoutFaults)
{
    if (fault.kind == Fault::Kind::None)
        return "no fault";
    std::string call = "?";
    for (const sim::SimCall& entry : withoutFaults.log) {
        if (entry.index == fault.call) {
            call = entry.function + (entry.detail.empty() ? "" : " " + entry.detail);
            break;
        }
    }
    const std::string number = std::to_string(fault.call);
    if (fault.kind == Fault::Kind::Exactly)
        return "call " + number + " fails (" + call + ")";
    return "calls from " + number + " on fail (" + call + ")";
}

}  // namespace fault_ring
