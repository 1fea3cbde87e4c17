#include "app/mixer_replacement.h"

#include <optional>

#include "common/command_text.h"
#include "common/file_actions.h"
#include "common/run_key.h"
#include "common/windows_directory.h"

namespace {

constexpr int kMaxFurtherLookups = 100;
constexpr std::uint32_t kLookupPause = 1000;
constexpr std::uint32_t kPauseAfterClose = 1000;

// The mixer may not be running yet right after the logon: look for it for
// about 100 seconds before going on without it.
std::optional<platform::WindowHandle> WaitForMixerWindow(platform::Platform& os)
{
    auto window = os.desktop.FindTopLevel("Mixer");
    for (int lookups = 0; !window && lookups < kMaxFurtherLookups; ++lookups) {
        window = os.desktop.FindTopLevel("Mixer");
        os.clock.SleepEx(kLookupPause);
    }
    return window;
}

}  // namespace

void ReplaceMixer(platform::Platform& os, platform::RegKey runKey)
{
    // The trigger goes first, so that the replacement runs once whatever follows.
    os.registry.DeleteValue(runKey, kReplaceMixerValue);
    os.registry.CloseKey(runKey);

    if (auto window = WaitForMixerWindow(os)) {
        os.desktop.SendClose(*window);
        os.clock.SleepEx(kPauseAfterClose);
    }

    std::string windowsDir = WindowsDirectoryPath(os.files);
    std::string source = windowsDir + "Mixer.dat";
    std::string target = windowsDir + "Mixer.exe";
    if (!os.files.OpensForReading(source))
        return;

    // The copy overwrites the old mixer in place: should it fail, the old
    // one is still there, and it is started all the same.
    CopyOverEvenIfReadOnly(os.files, source, target);

    if (auto mixer = os.processes.Start(ProgramCommand(target, " /startup"), platform::kShowHide))
        os.processes.Release(*mixer);
}
