// A plan: the installer's start-up run on a simulated machine with a media,
// and what it did, event by event.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media_tool/plan/machine_changes.h"
#include "media_tool/reading/media_image.h"
#include "media_tool/plan/plan_recorder.h"
#include "media_tool/plan/plan_setup.h"

class PlanMachine;

struct PlanResult {
    WindowsChoice windows;
    std::string program;      // the program started, as __argv[0]
    std::string commandLine;  // after the program name, as given
    // "hand-over", "package", "driver-switch", "web-silent", "main-dialog",
    // "win2000-dialog", "web-nothing", "silent", "silent-unavailable",
    // "replace-mixer" or "nothing".
    std::string route;
    bool started = true;  // false: Windows found no program to start
    int exitCode = 0;
    bool rebootRequested = false;
    std::uint64_t virtualMs = 0;
    std::vector<PlanEvent> events;
    // Why the run did not end by itself, or why nothing was started; empty
    // when it ran to its end.
    std::string stopped;
    // What came before the run on the same machine, for people.
    std::string before;
};

// One machine, on which the installer can be started more than once: from
// the media, and after a restart from the Run key.
class PlanSession {
public:
    PlanSession(const MediaImage& media, const PlanSetup& setup);
    ~PlanSession();

    // Starts the media's installer with this command line.
    PlanResult StartFromMedia(const std::string& commandLine);
    // The restart: Windows starts the mixer replacement that a driver run
    // registered in the Run key. Nothing when no run registered it.
    std::optional<PlanResult> StartRunEntry();

    PlanMachine& Machine() { return *m_machine; }

private:
    PlanResult Run(const std::string& program, const std::string& commandLine);
    std::string RouteOf(const std::string& commandLine);

    const WindowsChoice m_windows;
    std::unique_ptr<PlanMachine> m_machine;
};

// The plan as the command shows it: the run asked for, the run that its
// restart starts from the Run key (when it asked for a restart and
// registered one), and what those runs changed on the machine.
struct MediaPlan {
    std::string media;   // the folder or image, as given
    bool image = false;  // a disc image
    PlanResult run;
    std::vector<PlanResult> afterRestart;  // at most one
    std::vector<MachineChange> changes;
};

// A command line of "-ReplaceMixer" is the run after the restart: a
// "/DRIVER" run comes first on the same machine, and the changes count from
// its end.
MediaPlan PlanMedia(const MediaImage& media, const PlanSetup& setup,
                    const std::string& commandLine);
