// The Plug-and-Play update of the staged driver: the direct update of the
// present device or the forced reinstall, then the wait for the new mixer
// devices. Each returns where the restart prompt is due; the caller shows it.
#pragma once

#include "platform/platform.h"

// Updates the present device from the staged INF; without a device, or when
// the update fails, runs ForceReinstall. When Windows asks for a restart it
// pauses 10 s instead of waiting for the mixers.
void InstallStagedDriver(platform::Platform& os);

// Removes the present device, registers the staged INF as an OEM INF, adds
// the staging folder to the installation-source list and re-enumerates the
// device tree; then waits as WaitForNewMixers does.
void ForceReinstall(platform::Platform& os);

// Polls the mixer count every 3 s, at most ten times, until it exceeds
// `baseline`; then pauses 5 s.
void WaitForNewMixers(platform::Platform& os, int baseline);
