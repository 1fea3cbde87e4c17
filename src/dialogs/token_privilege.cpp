#include "dialogs/token_privilege.h"

bool EnableTokenPrivilege(platform::Platform& os, const std::string& privilegeName)
{
    auto token = os.security.OpenProcessTokenForAdjusting();
    if (!token)
        return os.errors.LastError() == platform::kErrorCallNotImplemented;

    auto privilege = os.security.LookupPrivilege(privilegeName);
    if (!privilege) {
        os.security.CloseToken(*token);
        return false;
    }
    const bool adjusted = os.security.EnablePrivilege(*token, *privilege);
    os.security.CloseToken(*token);
    return adjusted;
}
