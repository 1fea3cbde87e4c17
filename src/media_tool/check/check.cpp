#include "media_tool/check/check.h"

#include <set>

#include "media_tool/check/image_checks.h"
#include "media_tool/check/media_checks.h"
#include "media_tool/plan/plan.h"
#include "media_tool/check/plan_checks.h"

namespace {

// The ways a person or a program starts the installer from the media; "/S"
// is a script's.
constexpr const char* kStarts[] = {"", "/AP", "/DRIVER", "/S"};

class MediaCheck {
public:
    explicit MediaCheck(const MediaTree& media) : m_media(media), m_image(media) {}

    std::vector<Finding> Run()
    {
        CheckMediaFolder(m_media, m_findings);
        CheckSetupIni(m_media, m_findings);
        for (const WindowsChoice& windows : AllWindows()) {
            for (const char* commandLine : kStarts) {
                PlanSetup setup;
                setup.windows = windows;
                // Enter in the main dialog installs the applications and
                // leaves the driver to the package; clearing the
                // applications box installs the driver.
                if (CheckStart(setup, commandLine) == "main-dialog") {
                    setup.answers.applications = false;
                    CheckStart(setup, commandLine);
                }
            }
        }
        CheckImageNames(m_media, m_isoNamesMissed, m_findings);
        return m_findings.Sorted();
    }

private:
    // Runs one start on a machine of its own and, when the run registered
    // the mixer replacement, the start after the restart. Returns the run's
    // route.
    std::string CheckStart(const PlanSetup& setup, const char* commandLine)
    {
        PlanSession session(m_image, setup);
        const PlanResult run = session.StartFromMedia(commandLine);
        CheckRun(run, m_media, m_findings);
        CheckImageRun(run, m_media, m_isoNamesMissed, m_findings);
        if (auto restart = session.StartRunEntry()) {
            CheckRestart(run, *restart, m_media, m_findings);
            CheckImageRun(*restart, m_media, m_isoNamesMissed, m_findings);
        }
        return run.route;
    }

    const MediaTree& m_media;
    const MediaImage m_image;
    FindingList m_findings;
    std::set<std::string> m_isoNamesMissed;  // see CheckImageRun
};

}  // namespace

std::vector<Finding> CheckMedia(const MediaTree& media)
{
    return MediaCheck(media).Run();
}
