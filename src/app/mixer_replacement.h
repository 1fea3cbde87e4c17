// The run after the restart that swaps in the new mixer program.
#pragma once

#include "platform/platform.h"

// Removes the Run value "Replace Quarnel Mixer" from the open Run key and
// closes the key, closes the running mixer, copies "Mixer.dat" over
// "Mixer.exe" in the Windows directory and starts it with "/startup".
// Returns whether the replacement ran, that is whether "Mixer.dat" was there.
bool ReplaceMixer(platform::Platform& os, platform::RegKey runKey);
