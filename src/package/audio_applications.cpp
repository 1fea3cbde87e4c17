#include "package/audio_applications.h"

#include "common/top_level_window.h"

namespace {

constexpr std::uint32_t kPauseAfterClosing = 500;

void CloseApplications(platform::Platform& os, bool alsoMixer)
{
    // The suite closes its own players, so they are looked for only without it.
    if (CloseWindowByTitle(os.desktop, "TuneStack")) {
        os.clock.Sleep(kPauseAfterClosing);
    } else {
        CloseWindowByTitle(os.desktop, "CD Player");
        CloseWindowByTitle(os.desktop, "MIDI Player");
        CloseWindowByTitle(os.desktop, "MP3 Player");
    }
    if (alsoMixer)
        CloseWindowByTitle(os.desktop, "Mixer");
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
