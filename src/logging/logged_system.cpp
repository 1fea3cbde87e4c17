#include "logging/logged_system.h"

namespace logging {

platform::VersionInfo LoggedVersion::Query()
{
    platform::VersionInfo version = m_inner.Query();
    if (Recording()) {
        m_log.Call(0, "GetVersionExA() = platform %u, %u.%u.%u, \"%s\"",
                   version.platformId, version.majorVersion, version.minorVersion,
                   version.buildNumber, version.servicePack.c_str());
        m_log.WindowsVersion(version);
    }
    return version;
}

void LoggedClock::Sleep(std::uint32_t milliseconds)
{
    m_inner.Sleep(milliseconds);
    if (Recording())
        m_log.Call(0, "Sleep(%u)", milliseconds);
}

void LoggedClock::SleepEx(std::uint32_t milliseconds)
{
    m_inner.SleepEx(milliseconds);
    if (Recording())
        m_log.Call(0, "SleepEx(%u, FALSE)", milliseconds);
}

std::uint32_t LoggedErrors::LastError()
{
    const std::uint32_t code = m_inner.LastError();
    if (Recording())
        m_log.Call(0, "GetLastError() = %u", code);
    return code;
}

void LoggedErrors::SetLastError(std::uint32_t code)
{
    m_inner.SetLastError(code);
    if (Recording())
        m_log.Call(0, "SetLastError(%u)", code);
}

int LoggedMixer::DeviceCount()
{
    const int count = m_inner.DeviceCount();
    if (Recording())
        m_log.Call(0, "mixerGetNumDevs() = %d", count);
    return count;
}

std::optional<platform::TokenHandle> LoggedSecurity::OpenProcessTokenForAdjusting()
{
    auto token = m_inner.OpenProcessTokenForAdjusting();
    if (Recording())
        m_log.Call(ErrorIf(!token),
                   "OpenProcessToken(TOKEN_ADJUST_PRIVILEGES) = %s",
                   BoolText(token.has_value()));
    return token;
}

std::optional<platform::Luid> LoggedSecurity::LookupPrivilege(const std::string& name)
{
    auto privilege = m_inner.LookupPrivilege(name);
    if (Recording())
        m_log.Call(ErrorIf(!privilege), "LookupPrivilegeValueA(NULL, \"%s\") = %s", name.c_str(),
                   BoolText(privilege.has_value()));
    return privilege;
}

bool LoggedSecurity::EnablePrivilege(platform::TokenHandle token, const platform::Luid& privilege)
{
    const bool enabled = m_inner.EnablePrivilege(token, privilege);
    if (Recording())
        m_log.Call(ErrorIf(!enabled),
                   "AdjustTokenPrivileges(token, SE_PRIVILEGE_ENABLED) = %s",
                   BoolText(enabled));
    return enabled;
}

void LoggedSecurity::CloseToken(platform::TokenHandle token)
{
    m_inner.CloseToken(token);
    if (Recording())
        m_log.Call(0, "CloseHandle(token)");
}

bool LoggedSecurity::ExitWindows(std::uint32_t flags, std::uint32_t reason)
{
    const bool accepted = m_inner.ExitWindows(flags, reason);
    if (Recording()) {
        m_log.Call(ErrorIf(!accepted), "ExitWindowsEx(%s, %u) = %s",
                   flags == platform::kExitWindowsReboot ? "EWX_REBOOT" : "other flags", reason,
                   BoolText(accepted));
        m_log.Outcome().Saw(accepted ? Event::RebootRequested : Event::RebootRefused);
    }
    return accepted;
}

}  // namespace logging
