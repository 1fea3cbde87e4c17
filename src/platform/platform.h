// The one door to Windows. The system's code reaches every Windows service
// through these interfaces: the win32 adapter makes the real calls, the
// simulated Windows of the tests answers them in memory.
#pragma once

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/devices.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/mixer.h"
#include "platform/processes.h"
#include "platform/profiles.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/version.h"

namespace platform {

struct Platform {
    Version& version;
    Registry& registry;
    Profiles& profiles;
    FileSystem& files;
    Processes& processes;
    Desktop& desktop;
    Clock& clock;
    Security& security;
    Devices& devices;
    Mixer& mixer;
    Dialogs& dialogs;
    Errors& errors;
};

}  // namespace platform
