#include "media_tool/check.h"

#include "media_tool/media_checks.h"
#include "media_tool/plan.h"
#include "media_tool/plan_checks.h"

namespace {

// The ways a person or a program starts the installer from the media.
constexpr const char* kStarts[] = {"", "/AP", "/DRIVER"};

// Runs one start on a machine of its own and, when the run registered the
// mixer replacement, the start after the restart. Returns the run's route.
std::string CheckStart(const MediaImage& media, const PlanSetup& setup, const char* commandLine,
                       FindingList& findings)
{
    PlanSession session(media, setup);
    const PlanResult run = session.StartFromMedia(commandLine);
    CheckRun(run, media.tree, findings);
    if (auto restart = session.StartRunEntry())
        CheckRestart(run, *restart, media.tree, findings);
    return run.route;
}

}  // namespace

std::vector<Finding> CheckMedia(const MediaTree& media)
{
    FindingList findings;
    CheckMediaFolder(media, findings);
    CheckSetupIni(media, findings);
    const MediaImage image(media);
    for (const WindowsChoice& windows : AllWindows()) {
        for (const char* commandLine : kStarts) {
            PlanSetup setup;
            setup.windows = windows;
            // Enter in the main dialog installs the applications and leaves
            // the driver to the package; clearing the applications box
            // installs the driver.
            if (CheckStart(image, setup, commandLine, findings) == "main-dialog") {
                setup.answers.applications = false;
                CheckStart(image, setup, commandLine, findings);
            }
        }
    }
    return findings.Sorted();
}
