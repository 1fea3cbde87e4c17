// The step of the run that a platform call belongs to, in words, as the log
// names it. The layer infers it from the calls alone: the system's code
// does not know about the log.
#pragma once

#include <string>

namespace logging {

enum class Step : unsigned char {
    Any,  // in a rule: whatever the current step is
    StartUp,
    MixerReplacement,
    DefaultSoundFormat,
    RunValue,
    SourceDir,
    SetupIni,
    CdPlayer,
    WindowsVersion,
    // The path the dispatch chose, until a later step takes over.
    HandOver,
    Package,
    DriverWithoutDialog,
    UnattendedDriver,
    SilentDriver,
    MainDialog,
    Win2000Dialog,
    NothingToInstall,
    // The installation's own steps.
    DriverNotice,
    ClosingApplications,
    UninstallingPackage,
    PackageSetup,
    LegacyInfCleanup,
    LegacyInfLastPass,  // the clean-up's last search has begun
    Staging,
    DeviceSearch,
    DirectUpdate,
    ForcedReinstall,
    WaitingForMixers,
    RestartPrompt,
};

const char* StepName(Step step);

// Follows the run from call to call: a call that begins a step moves the
// run into it (the rules are a table in run_steps.cpp).
class StepTracker {
public:
    explicit StepTracker(Step first) : m_step(first) {}

    // The step of this call, which is the new one when the call begins it.
    // `call` is the call as the log writes it: its name, then its arguments.
    Step Enter(const std::string& call);
    // The step that follows the Windows version: the dispatch's choice.
    void SetRouteStep(Step step) { m_routeStep = step; }
    Step Current() const { return m_step; }

    static constexpr int kMaxRules = 32;

private:
    void MoveTo(Step step);

    Step m_step;
    Step m_routeStep = Step::NothingToInstall;
    // How many calls of each rule's kind the current step has seen.
    int m_seen[kMaxRules] = {};
};

}  // namespace logging
