// The Plug-and-Play update of the staged driver: the direct update of the
// present device or the forced reinstall, then the wait for the new mixer
// devices. Each returns where the restart prompt is due, with the pause that
// comes before the prompt; the caller pauses and shows it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// How the update ended.
struct PnpUpdateResult {
    // False only when the forced reinstall could not register the staged INF:
    // Plug-and-Play then has no new driver to install.
    bool infHandedOver = true;
    bool windowsAsksRestart = false;  // the direct update's reboot flag
    bool newMixersCame = false;       // the completion wait saw the mixer count grow
    // 5 s after the completion wait, 10 s when Windows asks for a restart.
    std::uint32_t pauseBeforePrompt = 0;
};

// Updates the present device from the staged INF; without a device, or when
// the update fails, runs ForceReinstall. When Windows asks for a restart the
// prompt is due after 10 s, without waiting for the mixers.
PnpUpdateResult InstallStagedDriver(platform::Platform& os);

// Removes the present device, registers the staged INF as an OEM INF, adds
// the staging folder to the installation-source list and re-enumerates the
// device tree; then waits as WaitForNewMixers does.
PnpUpdateResult ForceReinstall(platform::Platform& os);

// Polls the mixer count every 3 s, at most ten times, until it exceeds
// `baseline`. Returns whether it did.
bool WaitForNewMixers(platform::Platform& os, int baseline);
