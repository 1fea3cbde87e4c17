// The six operating-system flags that decide what the installer does itself.
#pragma once

#include "platform/version.h"

struct OsClass {
    bool m_bWin95 = false;
    bool m_bWin98 = false;
    bool m_bWinME = false;
    bool m_bWinNT4 = false;
    bool m_bWin2000 = false;  // Windows 2000, XP and later
    bool m_bWinXP = false;    // Windows XP and later; only together with m_bWin2000
};

OsClass ComputeOsClass(const platform::VersionInfo& version);

// GetVersionExA followed by ComputeOsClass.
OsClass QueryOsClass(platform::Version& version);
