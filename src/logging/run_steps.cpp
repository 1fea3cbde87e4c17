#include "logging/run_steps.h"

#include <cstring>

#include "common/messages.h"

namespace logging {

namespace {

// By the order of Step.
constexpr const char* kNames[] = {
    "",
    "start-up",
    "mixer replacement",
    "default sound format",
    "Run value",
    "SourceDir",
    "setup.ini",
    "CD player setting",
    "Windows version",
    "hand-over",
    "application package",
    "driver installation",
    "unattended driver installation",
    "silent driver installation",
    "main options dialog",
    "Windows 2000/XP dialog",
    "nothing to install",
    "driver notice",
    "closing the audio applications",
    "uninstalling the previous package",
    "package setup",
    "legacy INF clean-up",
    "legacy INF clean-up",
    "staging the driver package",
    "device search",
    "direct update",
    "forced reinstall",
    "waiting for the new mixers",
    "restart prompt",
};
static_assert(sizeof kNames / sizeof kNames[0] == static_cast<int>(Step::RestartPrompt) + 1,
              "every step has its name");

// A call that begins a step: while the run is in `from`, the `occurrence`th
// call of `function` whose text holds `part` moves it to `to`. The calls of
// one run come in the order the system makes them, so a few such marks
// tell every step apart.
struct StepRule {
    Step from;
    const char* function;
    const char* part;
    unsigned char occurrence;
    Step to;
};

constexpr StepRule kRules[] = {
    // The start-up, in its fixed order. After the Windows version, the
    // next call begins the dispatch's path (StepTracker::Enter).
    {Step::StartUp, "RegOpenKeyExA", "Multimedia\\Audio", 1, Step::DefaultSoundFormat},
    {Step::DefaultSoundFormat, "RegOpenKeyExA", "CurrentVersion\\Run", 1, Step::RunValue},
    {Step::RunValue, "__argv[0]", "", 1, Step::SourceDir},
    {Step::SourceDir, "GetPrivateProfileIntA", "\"InstallOption\"", 1, Step::SetupIni},
    {Step::SetupIni, "GetWindowsDirectoryA", "", 1, Step::CdPlayer},
    {Step::CdPlayer, "GetVersionExA", "", 1, Step::WindowsVersion},

    // Wherever they come.
    {Step::Any, "MessageBoxA", kDriverNotice, 1, Step::DriverNotice},
    {Step::Any, "FindWindowExA", "\"TuneStack\"", 1, Step::ClosingApplications},
    {Step::Any, "DialogBoxParamA", "(132,", 1, Step::RestartPrompt},

    // The application package.
    {Step::ClosingApplications, "RegOpenKeyExA", "\\Uninstall\\", 1,
     Step::UninstallingPackage},
    {Step::UninstallingPackage, "SetCurrentDirectoryA", "", 1, Step::PackageSetup},

    // The driver installation: the notice, the mixer or the applications
    // closed, then the clean-up, whose four searches end with "oem*.INF".
    {Step::DriverNotice, "FindWindowExA", "\"Mixer\"", 1, Step::ClosingApplications},
    {Step::DriverNotice, "GetWindowsDirectoryA", "", 1, Step::LegacyInfCleanup},
    {Step::ClosingApplications, "GetWindowsDirectoryA", "", 1, Step::LegacyInfCleanup},
    // "/S" shows no notice: its path goes straight on to the same steps.
    {Step::SilentDriver, "FindWindowExA", "\"Mixer\"", 1, Step::ClosingApplications},
    {Step::SilentDriver, "GetWindowsDirectoryA", "", 1, Step::LegacyInfCleanup},
    {Step::LegacyInfCleanup, "FindFirstFileA", "\\oem*.INF", 1, Step::LegacyInfLastPass},
    {Step::LegacyInfLastPass, "GetWindowsDirectoryA", "", 1, Step::Staging},
    {Step::LegacyInfLastPass, "CreateDirectoryA", "", 1, Step::Staging},

    // Plug and Play: the update counts the mixers before its device search;
    // the reinstall begins with a search of its own and counts them after
    // the removal, then once more when its wait begins.
    {Step::Staging, "mixerGetNumDevs", "", 1, Step::DeviceSearch},
    {Step::Staging, "SetupDiGetClassDevsA", "", 1, Step::ForcedReinstall},
    {Step::DeviceSearch, "UpdateDriverForPlugAndPlayDevicesA", "", 1, Step::DirectUpdate},
    {Step::DeviceSearch, "SetupDiGetClassDevsA", "", 2, Step::ForcedReinstall},
    {Step::DirectUpdate, "SetupDiGetClassDevsA", "", 1, Step::ForcedReinstall},
    {Step::DirectUpdate, "mixerGetNumDevs", "", 1, Step::WaitingForMixers},
    {Step::DirectUpdate, "SleepEx", "", 1, Step::WaitingForMixers},
    {Step::ForcedReinstall, "mixerGetNumDevs", "", 2, Step::WaitingForMixers},
};

constexpr int kRuleCount = sizeof kRules / sizeof kRules[0];
static_assert(kRuleCount <= StepTracker::kMaxRules, "StepTracker counts the calls of every rule");

bool Matches(const StepRule& rule, Step current, const std::string& call)
{
    if (rule.from != Step::Any && rule.from != current)
        return false;
    const std::size_t length = std::strlen(rule.function);
    if (call.compare(0, length, rule.function) != 0)
        return false;
    const bool wholeName = call.size() == length || call[length] == '(' || call[length] == ' ';
    return wholeName && call.find(rule.part) != std::string::npos;
}

}  // namespace

const char* StepName(Step step)
{
    return kNames[static_cast<int>(step)];
}

void StepTracker::MoveTo(Step step)
{
    m_step = step;
    for (int& seen : m_seen)
        seen = 0;
}

Step StepTracker::Enter(const std::string& call)
{
    if (m_step == Step::WindowsVersion && call.compare(0, 14, "GetVersionExA(") != 0)
        MoveTo(m_routeStep);
    for (int i = 0; i < kRuleCount; ++i) {
        const StepRule& rule = kRules[i];
        if (!Matches(rule, m_step, call))
            continue;
        if (++m_seen[i] == rule.occurrence) {
            MoveTo(rule.to);
            break;
        }
    }
    return m_step;
}

}  // namespace logging
