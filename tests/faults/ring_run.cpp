#include "ring_run.h"

#include <exception>

#include "app/command_line.h"
#include "app/setup_app.h"
#include "common/ascii.h"

namespace fault_ring {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return AsciiUpper(text).compare(0, prefix.size(), AsciiUpper(prefix)) == 0;
}

bool IsInfOrPnf(const std::string& path)
{
    std::string upper = AsciiUpper(path);
    return upper.size() > 4 && (upper.compare(upper.size() - 4, 4, ".INF") == 0 ||
                                upper.compare(upper.size() - 4, 4, ".PNF") == 0);
}

Holdings HoldingsOf(const RingMachine& machine)
{
    Holdings holdings;
    for (const sim::SimFileSystem::Node& node : machine.files.Listing()) {
        if (!node.folder)
            holdings.files[AsciiUpper(node.path)] = node.path;
    }
    for (const sim::SimRegKeyListing& key : machine.registry.Listing()) {
        for (const auto& [name, value] : key.values) {
            const std::string shown = key.path + " \"" + name + "\"";
            holdings.values[AsciiUpper(shown)] = shown;
        }
    }
    for (const sim::SimDevice& device : machine.devices.devices) {
        if (device.present)
            holdings.devices[AsciiUpper(device.instanceId)] = device.instanceId;
    }
    return holdings;
}

// The call in progress, as the record shows it.
std::string CurrentCall(const RingMachine& machine)
{
    const sim::SimCall& call = machine.context.log.Calls().back();
    return "call " + std::to_string(call.index) + " (" + call.function + " " + call.detail + ")";
}

// Notes every device removal and every change to the INF folder made while
// the staged INF is missing. The legacy cleanup deletes earlier drivers' INF
// and PNF files before anything is staged; that is its job, not such a change.
void WatchForUnstagedChanges(RingMachine& machine, RunRecord& record)
{
    const std::string infFolder = machine.files.windowsDirectory + "\\INF\\";
    machine.devices.onRemove = [&machine, &record](const sim::SimDevice& device) {
        if (machine.files.Exists(kStagedInf)) {
            record.removedWithStagedInf.insert(AsciiUpper(device.instanceId));
            return;
        }
        record.unstagedChanges.push_back("removed the device " + device.instanceId +
                                         " with no INF staged, " + CurrentCall(machine));
    };
    machine.files.onChange = [&machine, &record, infFolder](const std::string& path) {
        if (!StartsWithNoCase(path, infFolder) || machine.files.Exists(kStagedInf))
            return;
        const bool deleted = !machine.files.Exists(path);
        if (deleted && IsInfOrPnf(path))
            return;
        record.unstagedChanges.push_back((deleted ? "deleted " : "wrote ") + path +
                                         " with no INF staged, " + CurrentCall(machine));
    };
}

}  // namespace

RunRecord RunScenario(const Scenario& scenario, const Fault& fault, const RunLimits& limits,
                      bool keepLog)
{
    RingMachine machine;
    scenario.prepare(machine);
    RunRecord record;
    record.before = HoldingsOf(machine);
    WatchForUnstagedChanges(machine, record);
    // Only an update that went through reaches the hook; `updates` lists every try.
    machine.devices.onUpdate = [&record, planted = machine.devices.onUpdate](
                                   const sim::SimDriverUpdate& update) {
        record.driverHandedOver = true;
        if (planted)
            planted(update);
    };
    machine.context.limits = {limits.calls, limits.time};
    if (fault.kind == Fault::Kind::Exactly)
        machine.faults.FailCall(fault.call);
    else if (fault.kind == Fault::Kind::FromOn)
        machine.faults.FailFrom(fault.call);

    std::vector<char> commandLine(scenario.commandLine.begin(), scenario.commandLine.end());
    commandLine.push_back('\0');
    CSetupApp app;
    record.silent = IsSilentLiteral(UpperCased(scenario.commandLine));
    try {
        record.exitCode = AfxWinMain(app, machine.os(), commandLine.data());
        record.endMessage = "returned " + std::to_string(record.exitCode);
    } catch (const sim::SimExit& exit) {
        record.end = RunRecord::End::Exited;
        record.exitCode = exit.code;
        record.endMessage = "exit " + std::to_string(exit.code);
    } catch (const UserEndedTheProgram&) {
        record.end = RunRecord::End::UserEndedTheProgram;
        record.endMessage = "a dialog could not be closed; the user ended the program";
    } catch (const sim::SimHang& hang) {
        record.end = RunRecord::End::Hang;
        record.endMessage = hang.what();
    } catch (const std::exception& error) {
        record.end = RunRecord::End::SimulationError;
        record.endMessage = error.what();
    }

    record.driverHandedOver = record.driverHandedOver || !machine.devices.oemInfs.empty();
    record.calls = machine.context.calls;
    record.time = machine.now();
    record.after = HoldingsOf(machine);
    record.leftOpen = machine.LeftOpen();
    if (keepLog)
        record.log = machine.log().Calls();
    machine.devices.onRemove = nullptr;
    machine.devices.onUpdate = nullptr;
    machine.files.onChange = nullptr;
    return record;
}

}  // namespace fault_ring
