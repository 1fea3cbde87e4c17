// The real Windows behind the platform interfaces: one object that owns
// every service and hands them out as the platform aggregate.
#pragma once

#include "platform/platform.h"
#include "win32/win32_clock.h"
#include "win32/win32_desktop.h"
#include "win32/win32_devices.h"
#include "win32/win32_dialogs.h"
#include "win32/win32_errors.h"
#include "win32/win32_files.h"
#include "win32/win32_mixer.h"
#include "win32/win32_processes.h"
#include "win32/win32_profiles.h"
#include "win32/win32_registry.h"
#include "win32/win32_security.h"
#include "win32/win32_version.h"

namespace win32 {

class Win32Platform {
public:
    Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    platform::Platform& Services() { return m_services; }

private:
    Win32Version m_version;
    Win32Registry m_registry;
    Win32Profiles m_profiles;
    Win32FileSystem m_files;
    Win32Processes m_processes;
    Win32Desktop m_desktop;
    Win32Clock m_clock;
    Win32Security m_security;
    Win32Devices m_devices;
    Win32Mixer m_mixer;
    Win32Dialogs m_dialogs;
    Win32Errors m_errors;
    // Declared last: it refers to the services above.
    platform::Platform m_services;
};

}  // namespace win32
