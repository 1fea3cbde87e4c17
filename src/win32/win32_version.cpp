#include "win32/win32_version.h"

#include <windows.h>

#include "win32/system_text.h"

namespace win32 {

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA is given a size of 148");

platform::VersionInfo Win32Version::Query()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    // The result is not examined: a failed call leaves the zeroed fields,
    // which no Windows version matches.
    GetVersionExA(&info);

    platform::VersionInfo version;
    version.platformId = info.dwPlatformId;
    version.majorVersion = info.dwMajorVersion;
    version.minorVersion = info.dwMinorVersion;
    version.buildNumber = info.dwBuildNumber;
    version.servicePack = ArrayText(info.szCSDVersion, sizeof(info.szCSDVersion));
    return version;
}

}  // namespace win32
