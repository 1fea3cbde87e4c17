#include "common/exit_codes.h"

const char* SilentExitMeaning(int code)
{
    switch (code) {
    case kExitInstalled:
        return "installed, no restart needed";
    case kExitRestartNeeded:
        return "installed, a restart is needed";
    case kExitInstallFailed:
        return "nothing was installed or the installation failed";
    case kExitNoUnattendedPath:
        return "this Windows has no unattended path";
    default:
        return "";
    }
}
