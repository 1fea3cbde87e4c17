// What a plan is run on: the Windows version, the audio device, and what the
// scripted user answers in each dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/version.h"

struct WindowsChoice {
    const char* name = "";   // as --windows takes it: "95", ..., "xp"
    const char* label = "";  // as people read it: "Windows XP"
    platform::VersionInfo version;
};

// Windows 95, 98, ME, NT 4, 2000 and XP, oldest first.
const std::vector<WindowsChoice>& AllWindows();
// The version of that --windows name; null when there is none.
const WindowsChoice* FindWindows(const std::string& name);

enum class DeviceState {
    Present,  // the device is there and its driver update succeeds
    Absent,   // no device at all
    Fails,    // the update returns FALSE
    Reboot,   // the update succeeds and asks for a restart
};

enum class Jack { Rear, Centre, MicSub };

// Each default is what a person pressing Enter gets.
struct UserAnswers {
    // The main options dialog.
    bool applications = true;
    bool driver = true;
    bool cancel = false;
    // The Windows 2000/XP options dialog; jacks are clicked in this order.
    bool soundCard = false;
    std::vector<Jack> jacks;
    bool disableLegacy = false;
    // The restart prompt.
    bool restart = true;
};

struct PlanSetup {
    WindowsChoice windows = AllWindows().back();
    DeviceState device = DeviceState::Present;
    UserAnswers answers;
};
