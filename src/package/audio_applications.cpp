#include "package/audio_applications.h"

namespace {

constexpr std::uint32_t kPauseAfterClosing = 500;

bool CloseWindow(platform::Platform& os, const char* title)
{
    auto window = os.desktop.FindTopLevel(title);
    if (window)
        os.desktop.SendClose(*window);
    return window.has_value();
}

void CloseApplications(platform::Platform& os, bool alsoMixer)
{
    // The suite closes its own players, so they are looked for only without it.
    if (CloseWindow(os, "TuneStack")) {
        os.clock.Sleep(kPauseAfterClosing);
    } else {
        CloseWindow(os, "CD Player");
        CloseWindow(os, "MIDI Player");
        CloseWindow(os, "MP3 Player");
    }
    if (alsoMixer)
        CloseWindow(os, "Mixer");
    os.clock.Sleep(kPauseAfterClosing);
}

}  // namespace

void CloseAudioApplications(platform::Platform& os)
{
    CloseApplications(os, false);
}

void CloseAudioApplicationsAndMixer(platform::Platform& os)
{
    CloseApplications(os, true);
}
