#include "win32/win32_security.h"

#include <windows.h>

#include "win32/win32_handles.h"

// winuser.h defines ExitWindows as a macro, which would rename the member.
#undef ExitWindows

namespace win32 {

// On Windows 95, 98 and ME the token functions are exported but fail with
// ERROR_CALL_NOT_IMPLEMENTED; nothing here may change the last error after a
// failed call, since the caller looks at it.

std::optional<platform::TokenHandle> Win32Security::OpenProcessTokenForAdjusting()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return std::nullopt;
    return ToOpaque<platform::TokenHandle>(token);
}

std::optional<platform::Luid> Win32Security::LookupPrivilege(const std::string& name)
{
    LUID luid = {};
    if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid))
        return std::nullopt;
    platform::Luid privilege;
    privilege.lowPart = luid.LowPart;
    privilege.highPart = luid.HighPart;
    return privilege;
}

bool Win32Security::EnablePrivilege(platform::TokenHandle token,
                                    const platform::Luid& privilege)
{
    TOKEN_PRIVILEGES state = {};
    state.PrivilegeCount = 1;
    state.Privileges[0].Luid.LowPart = privilege.lowPart;
    state.Privileges[0].Luid.HighPart = privilege.highPart;
    state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return AdjustTokenPrivileges(ToNative<HANDLE>(token), FALSE, &state, 0, nullptr,
                                 nullptr) != FALSE;
}

void Win32Security::CloseToken(platform::TokenHandle token)
{
    CloseHandle(ToNative<HANDLE>(token));
}

bool Win32Security::ExitWindows(std::uint32_t flags, std::uint32_t reason)
{
    return ExitWindowsEx(flags, reason) != FALSE;
}

}  // namespace win32
