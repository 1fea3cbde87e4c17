#include "sim/sim_system.h"

namespace sim {

platform::VersionInfo SimVersion::Query()
{
    // The structure stays as the caller cleared it.
    if (!m_context.Succeeds("GetVersionExA", "", error::kInsufficientBuffer))
        return platform::VersionInfo{};
    return info;
}

void SimClock::Sleep(std::uint32_t milliseconds)
{
    Pause("Sleep", milliseconds);
}

void SimClock::SleepEx(std::uint32_t milliseconds)
{
    Pause("SleepEx", milliseconds);
}

void SimClock::Pause(const char* function, std::uint32_t milliseconds)
{
    m_context.AlwaysSucceeds(function, std::to_string(milliseconds));
    m_context.Effect("sleep", {NumberField("ms", milliseconds)});
    m_context.now += milliseconds;
}

std::vector<std::uint32_t> SimClock::Pauses() const
{
    std::vector<std::uint32_t> pauses;
    for (const SimCall& call : m_context.log.Calls()) {
        if (call.function == "Sleep" || call.function == "SleepEx")
            pauses.push_back(static_cast<std::uint32_t>(std::stoul(call.detail)));
    }
    return pauses;
}

std::uint32_t SimErrors::LastError()
{
    m_context.CannotFail("GetLastError", "");
    m_context.Record("GetLastError", std::to_string(m_context.lastError));
    return m_context.lastError;
}

void SimErrors::SetLastError(std::uint32_t code)
{
    m_context.AlwaysSucceeds("SetLastError", std::to_string(code));
    m_context.lastError = code;
}

std::optional<platform::TokenHandle> SimSecurity::OpenProcessTokenForAdjusting()
{
    if (m_context.Fails("OpenProcessToken", "TOKEN_ADJUST_PRIVILEGES", error::kAccessDenied))
        return std::nullopt;
    if (!tokenOpens) {
        m_context.Record("OpenProcessToken", "(failed)");
        m_context.lastError = tokenError;
        return std::nullopt;
    }
    m_context.Record("OpenProcessToken", "TOKEN_ADJUST_PRIVILEGES");
    ++openTokens;
    return static_cast<platform::TokenHandle>(0x700);
}

std::optional<platform::Luid> SimSecurity::LookupPrivilege(const std::string& name)
{
    if (m_context.Fails("LookupPrivilegeValueA", name, error::kNoSuchPrivilege))
        return std::nullopt;
    if (!knownPrivileges.count(name)) {
        m_context.Record("LookupPrivilegeValueA", name + " (unknown)");
        m_context.lastError = error::kNoSuchPrivilege;
        return std::nullopt;
    }
    m_context.Record("LookupPrivilegeValueA", name);
    std::uint32_t id = 19 + static_cast<std::uint32_t>(m_luids.size());
    m_luids[id] = name;
    return platform::Luid{id, 0};
}

bool SimSecurity::EnablePrivilege(platform::TokenHandle, const platform::Luid& privilege)
{
    std::string name = m_luids.count(privilege.lowPart) ? m_luids[privilege.lowPart] : "?";
    if (m_context.Fails("AdjustTokenPrivileges", name, error::kAccessDenied))
        return false;
    m_context.Record("AdjustTokenPrivileges", name + (adjustSucceeds ? "" : " (refused)"));
    if (!adjustSucceeds)
        return false;
    enabledPrivileges.push_back(name);
    return true;
}

void SimSecurity::CloseToken(platform::TokenHandle)
{
    --openTokens;
    m_context.Release("CloseHandle", "token");
}

bool SimSecurity::ExitWindows(std::uint32_t flags, std::uint32_t reason)
{
    std::string detail = Hex(flags) + " " + std::to_string(reason);
    if (!m_context.Succeeds("ExitWindowsEx", detail, error::kPrivilegeNotHeld))
        return false;
    exitWindowsFlags.push_back(flags);
    if (rebootAccepted && (flags & platform::kExitWindowsReboot))
        m_context.Effect("reboot", {});
    return rebootAccepted;
}

int SimMixer::DeviceCount()
{
    // mixerGetNumDevs has no failure of its own: without mixers it answers 0.
    if (m_context.Fails("mixerGetNumDevs", ""))
        return 0;
    int current = count;
    for (const auto& [time, newCount] : m_changes) {
        if (time <= m_context.now)
            current = newCount;
    }
    m_context.Record("mixerGetNumDevs", std::to_string(current));
    return current;
}

}  // namespace sim
