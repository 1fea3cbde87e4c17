// The run after the restart that swaps in the new mixer program.
#pragma once

#include "platform/platform.h"

// Removes the Run value "Replace Quarnel Mixer" from the open Run key and
// closes the key, closes the running mixer, copies "Mixer.dat" over
// "Mixer.exe" in the Windows directory and starts it with "/startup".
// Without "Mixer.dat" nothing is copied or started.
void ReplaceMixer(platform::Platform& os, platform::RegKey runKey);
