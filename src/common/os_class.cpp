#include "common/os_class.h"

namespace {

constexpr std::uint32_t kPlatformWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t kPlatformNt = 2;       // VER_PLATFORM_WIN32_NT

// Windows ME reports 4.90 in the upper word of its build number; 98 reports 4.10.
bool IsWindowsMe(std::uint32_t buildNumber)
{
    return ((buildNumber >> 16) >> 4) > 0x40;
}

}  // namespace

OsClass ComputeOsClass(const platform::VersionInfo& version)
{
    OsClass os;
    if (version.platformId == kPlatformWindows) {
        if (version.minorVersion == 0)
            os.m_bWin95 = true;
        else if (IsWindowsMe(version.buildNumber))
            os.m_bWinME = true;
        else
            os.m_bWin98 = true;
    } else if (version.platformId == kPlatformNt) {
        if (version.majorVersion < 5) {
            os.m_bWinNT4 = true;
        } else {
            os.m_bWin2000 = true;
            os.m_bWinXP = version.buildNumber >= 2600;
        }
    }
    return os;
}

OsClass QueryOsClass(platform::Version& version)
{
    return ComputeOsClass(version.Query());
}
