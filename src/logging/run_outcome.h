// The last line of a run's block in the install log: what the run came to,
// in one sentence, from what the layer saw of the platform calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/route.h"

namespace logging {

// What the layer sees that bears on the outcome.
enum class Event : unsigned char {
    // The run after the restart.
    RunKeyNotOpened,
    MixerSourceMissing,
    MixerCopied,
    MixerNotCopied,
    MixerStarted,
    MixerNotStarted,
    // The paths of the start-up.
    MissingInstallationFiles,
    StagedInfMissing,
    MissingPackageSetup,
    PackageStarted,
    PackageNotStarted,
    OptionsDialogCancelled,
    // The driver installation.
    DriverUpdated,
    DeviceRemoved,
    DeviceNotRemoved,
    InfRegistered,
    InfNotRegistered,
    RebootRequested,
    RebootRefused,
    RestartPromptEnded,
};

class RunOutcome {
public:
    void Saw(Event event) { m_seen |= 1u << static_cast<unsigned>(event); }
    void ReplacementRun() { m_replacementRun = true; }
    // The dispatch's choice, once known.
    void RouteChosen(std::optional<Route> route) { m_route = route; }
    void HandOver(const std::string& command, std::uint32_t result);

    // The run's outcome, as one sentence.
    std::string Sentence() const;
    // "Exit code: 3010 (installed, a restart is needed)".
    std::string ExitCodeText(int code) const;

private:
    bool Seen(Event event) const { return (m_seen & (1u << static_cast<unsigned>(event))) != 0; }

    std::uint32_t m_seen = 0;
    bool m_replacementRun = false;
    std::optional<Route> m_route;
    std::optional<std::string> m_handOverCommand;
    std::uint32_t m_handOverResult = 0;
};

}  // namespace logging
