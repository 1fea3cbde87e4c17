// Closing the running audio applications before their files are replaced.
#pragma once

#include "platform/platform.h"

// Closes the suite window "TuneStack" or, when it is not running, the "CD
// Player", "MIDI Player" and "MP3 Player" windows; then pauses so that they
// can end (1000 ms in all after the suite, 500 ms otherwise).
void CloseAudioApplications(platform::Platform& os);

// The same, with the "Mixer" window closed too, just before the final pause.
void CloseAudioApplicationsAndMixer(platform::Platform& os);
