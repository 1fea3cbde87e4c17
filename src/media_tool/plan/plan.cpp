#include "media_tool/plan/plan.h"

#include <vector>

#include "app/command_line.h"
#include "app/route.h"
#include "app/setup_app.h"
#include "common/run_key.h"
#include "media_tool/plan/plan_machine.h"
#include "logging/log_on_request.h"
#include "sim/sim_log_host.h"

namespace {

// Longest a plan may take: far more than any run of the installer needs, so
// that only a run that would never end is stopped.
constexpr std::uint64_t kLongestRunMs = 6ull * 60 * 60 * 1000;
constexpr std::uint64_t kMostCallsPerRun = 20000000;

const char* RouteName(Route route)
{
    switch (route) {
    case Route::HandOver:
        return "hand-over";
    case Route::Package:
        return "package";
    case Route::DriverSwitch:
        return "driver-switch";
    case Route::MainDialog:
        return "main-dialog";
    case Route::Win2000Dialog:
        return "win2000-dialog";
    case Route::WebNothing:
        return "web-nothing";
    case Route::WebSilent:
        return "web-silent";
    case Route::Silent:
        return "silent";
    case Route::SilentUnavailable:
        return "silent-unavailable";
    }
    return "nothing";
}

// A Run entry split as Windows splits it: the program (quoted, or the first
// text up to a blank that names a program) and the rest of the line.
bool SplitCommand(sim::SimProcesses& processes, const std::string& command, std::string& program,
                  std::string& rest)
{
    if (!command.empty() && command[0] == '"') {
        const std::size_t close = command.find('"', 1);
        program = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        rest = close == std::string::npos ? "" : command.substr(close + 1);
    } else {
        std::size_t blank = command.find(' ');
        while (blank != std::string::npos && !processes.ResolveImage(command.substr(0, blank)))
            blank = command.find(' ', blank + 1);
        program = command.substr(0, blank);
        rest = blank == std::string::npos ? "" : command.substr(blank);
    }
    if (!rest.empty() && rest[0] == ' ')
        rest.erase(0, 1);
    auto image = processes.ResolveImage(program);
    if (image)
        program = *image;
    return image.has_value();
}

}  // namespace

PlanSession::PlanSession(const MediaImage& media, const PlanSetup& setup)
    : m_windows(setup.windows),
      m_machine(std::make_unique<PlanMachine>(media, setup))
{
}

PlanSession::~PlanSession() = default;

PlanResult PlanSession::StartFromMedia(const std::string& commandLine)
{
    return Run(m_machine->installerPath, commandLine);
}

std::optional<PlanResult> PlanSession::StartRunEntry()
{
    auto entry = m_machine->registry.Text(platform::RootKey::LocalMachine, kRunKeyPath,
                                          kReplaceMixerValue);
    if (!entry)
        return std::nullopt;
    std::string program;
    std::string rest;
    if (!SplitCommand(m_machine->processes, *entry, program, rest)) {
        PlanResult nothing;
        nothing.windows = m_windows;
        nothing.program = program;
        nothing.commandLine = rest;
        nothing.route = "replace-mixer";
        nothing.started = false;
        nothing.stopped = "Windows finds no program for the Run entry \"" + *entry +
                          "\": nothing runs after the restart";
        return nothing;
    }
    m_machine->files.SetCurrent(PlanMachine::kSystemFolder);
    return Run(program, rest);
}

std::string PlanSession::RouteOf(const std::string& commandLine)
{
    const std::string upper = UpperCased(commandLine);
    if (IsReplaceMixerLiteral(upper))
        return "replace-mixer";
    // The values as the installer reads them, on a machine of their own so
    // that the run's record holds only the run's calls.
    sim::SimMachine reader;
    std::string setupIni;
    const std::string setupIniPath = std::string(MediaImage::kRoot) + "setup.ini";
    if (m_machine->files.Load(setupIniPath, setupIni))
        reader.files.AddFile(setupIniPath, setupIni);
    const SetupOptions options = ReadSetupOptions(reader.os().profiles, setupIniPath);
    return RouteName(ChooseRoute(ComputeOsClass(m_windows.version), upper, options));
}

PlanResult PlanSession::Run(const std::string& program, const std::string& commandLine)
{
    PlanResult result;
    result.windows = m_windows;
    result.program = program;
    result.commandLine = commandLine;
    result.route = RouteOf(commandLine);

    PlanMachine& machine = *m_machine;
    machine.processes.programName = program;
    machine.processes.modulePath = program;
    machine.context.limits.time = machine.context.now + kLongestRunMs;
    machine.context.limits.calls = machine.context.calls + kMostCallsPerRun;
    const std::uint64_t start = machine.context.now;

    PlanRecorder recorder(machine.context);
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    try {
        // The program starts as W2KSetup.exe does, behind the log on request,
        // so a media whose setup.ini asks for a log plans its writing too.
        CSetupApp app;
        sim::SimLogHost logHost(machine.context, machine.files);
        result.exitCode =
            logging::RunWithLogOnRequest(app, machine.os(), logHost, buffer.data());
    } catch (const sim::SimExit& exit) {
        result.exitCode = exit.code;
    } catch (const sim::SimHang& hang) {
        result.stopped = std::string("the run would not end: ") + hang.what();
    } catch (const std::exception& error) {
        result.stopped = std::string("the run could not go on: ") + error.what();
    }
    result.virtualMs = machine.context.now - start;
    result.events = recorder.Events();
    for (const PlanEvent& event : result.events)
        result.rebootRequested = result.rebootRequested || event.kind == "reboot";
    return result;
}

MediaPlan PlanMedia(const MediaImage& media, const PlanSetup& setup,
                    const std::string& commandLine)
{
    PlanSession session(media, setup);
    const bool afterRestart = IsReplaceMixerLiteral(UpperCased(commandLine));
    std::string before;
    if (afterRestart) {
        const PlanResult driverRun = session.StartFromMedia("/DRIVER");
        before = "first a \"/DRIVER\" run (" + driverRun.route + ")";
    }

    const MachineSnapshot start(session.Machine());
    MediaPlan plan;
    plan.media = media.tree.root;
    plan.image = media.tree.image.has_value();
    std::optional<PlanResult> entryRun;
    if (afterRestart)
        entryRun = session.StartRunEntry();
    if (entryRun) {
        plan.run = *entryRun;
        plan.run.before = before + ", which registered the Run entry; then the restart";
    } else {
        plan.run = session.StartFromMedia(commandLine);
        if (afterRestart)
            plan.run.before =
                before + ", which registered no Run entry; then this start from the media";
    }
    // Windows restarts, and its logon starts what the run registered.
    if (plan.run.rebootRequested) {
        if (auto restarted = session.StartRunEntry())
            plan.afterRestart.push_back(*restarted);
    }
    plan.changes = ChangesBetween(start, MachineSnapshot(session.Machine()));
    return plan;
}
