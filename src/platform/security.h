// The process token and the reboot request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

struct Luid {
    std::uint32_t lowPart = 0;
    std::int32_t highPart = 0;
};

constexpr std::uint32_t kErrorCallNotImplemented = 120;  // ERROR_CALL_NOT_IMPLEMENTED
constexpr std::uint32_t kExitWindowsReboot = 2;          // EWX_REBOOT

class Security {
public:
    virtual ~Security() = default;

    // OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES).
    virtual std::optional<TokenHandle> OpenProcessTokenForAdjusting() = 0;
    // LookupPrivilegeValueA with no system name.
    virtual std::optional<Luid> LookupPrivilege(const std::string& name) = 0;
    // AdjustTokenPrivileges(token, FALSE, {1, luid, SE_PRIVILEGE_ENABLED}, 0, NULL, NULL).
    virtual bool EnablePrivilege(TokenHandle token, const Luid& privilege) = 0;
    // CloseHandle on the token.
    virtual void CloseToken(TokenHandle token) = 0;
    // ExitWindowsEx(flags, reason); returns at once.
    virtual bool ExitWindows(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace platform
