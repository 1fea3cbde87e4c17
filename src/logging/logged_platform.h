// The logging layer: every service of a platform, each call forwarded and
// recorded in the run's log. The system's code sees one more platform.
#pragma once

#include "logging/logged_desktop.h"
#include "logging/logged_devices.h"
#include "logging/logged_dialogs.h"
#include "logging/logged_files.h"
#include "logging/logged_processes.h"
#include "logging/logged_profiles.h"
#include "logging/logged_registry.h"
#include "logging/logged_system.h"
#include "platform/platform.h"

namespace logging {

class LoggedPlatform {
public:
    LoggedPlatform(platform::Platform& inner, RunLog& log);
    LoggedPlatform(const LoggedPlatform&) = delete;
    LoggedPlatform& operator=(const LoggedPlatform&) = delete;

    platform::Platform& Services() { return m_services; }

private:
    LoggedVersion m_version;
    LoggedRegistry m_registry;
    LoggedProfiles m_profiles;
    LoggedFileSystem m_files;
    LoggedProcesses m_processes;
    LoggedDesktop m_desktop;
    LoggedClock m_clock;
    LoggedSecurity m_security;
    LoggedDevices m_devices;
    LoggedMixer m_mixer;
    LoggedDialogs m_dialogs;
    LoggedErrors m_errors;
    // Declared last: it refers to the services above.
    platform::Platform m_services;
};

}  // namespace logging
