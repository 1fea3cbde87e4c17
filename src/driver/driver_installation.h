// The one entry into a driver installation, in four variants.
#pragma once

#include <cstdint>
#include <string>

#include "driver/inf_option_states.h"
#include "platform/platform.h"

enum class DriverInstallVariant {
    DriverSwitch,   // "/DRIVER" or "DriverOnly", from the start-up
    WebSilent,      // "WebSetup" other than 0 and 1, from the start-up
    MainDialog,     // the main options dialog's driver box
    Win2000Dialog,  // the Windows 2000/XP driver options dialog
};

struct DriverInstallRequest {
    DriverInstallVariant variant = DriverInstallVariant::DriverSwitch;
    platform::WindowHandle owner = platform::kNoWindow;  // the calling dialog, if any
    std::string sourceDir;  // the caller's SourceDir
    bool windowsXP = false;  // the caller's XP flag, for the media folder choice
    InfOptionStates* infOptions = nullptr;  // Win2000Dialog: the options patched into the INF
};

// How an installation ends for its caller.
enum class DriverInstallOutcome {
    // The driver went to Plug-and-Play, and a restart is needed to finish:
    // Windows asked for one, the new mixers have not come yet, or the mixer
    // replacement waits for the next logon.
    RestartNeeded,
    // The driver went to Plug-and-Play and runs: Windows asked for no
    // restart, the new mixers came, and nothing waits for the next logon.
    Installed,
    // The forced reinstall removed the device, but the staged INF could not
    // be registered: Plug-and-Play has no new driver to install.
    InfNotRegistered,
    // No "QNAUDIO.INF" reached the staging folder. The device and the INF
    // folder were left as they were, so the working driver stays.
    NothingStaged,
};

struct DriverInstallResult {
    DriverInstallOutcome outcome = DriverInstallOutcome::NothingStaged;
    // The pause before the restart prompt, which is due after every outcome
    // but NothingStaged; a caller that shows no prompt does not pause.
    std::uint32_t pauseBeforePrompt = 0;
};

// Runs the variant's steps, from the legacy INF cleanup to the end of the
// Plug-and-Play update. The caller's own steps around it (the notice, the
// wait cursor, the prompt) are DriverSetup's, or the silent installation's.
DriverInstallResult RunDriverInstallation(platform::Platform& os,
                                          const DriverInstallRequest& request);
