// The exit codes of the unattended installation ("/S"), in the numbers of
// the Windows Installer, which deployment tools already read. Every other
// command line ends with 0, whatever happened.
#pragma once

inline constexpr int kExitInstalled = 0;              // ERROR_SUCCESS
inline constexpr int kExitRestartNeeded = 3010;       // ERROR_SUCCESS_REBOOT_REQUIRED
inline constexpr int kExitInstallFailed = 1603;       // ERROR_INSTALL_FAILURE
inline constexpr int kExitNoUnattendedPath = 1633;    // ERROR_INSTALL_PLATFORM_UNSUPPORTED

// What an exit code of "/S" tells, in a few words: "installed, a restart is
// needed". Empty for a code that "/S" never ends with.
const char* SilentExitMeaning(int code);
