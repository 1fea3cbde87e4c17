#include "platform/sim/sim_system.h"

namespace sim {

platform::VersionInfo SimVersion::Query()
{
    m_context.Record("GetVersionExA", "");
    return info;
}

void SimClock::Sleep(std::uint32_t milliseconds)
{
    m_context.Record("Sleep", std::to_string(milliseconds));
    m_context.now += milliseconds;
}

void SimClock::SleepEx(std::uint32_t milliseconds)
{
    m_context.Record("SleepEx", std::to_string(milliseconds));
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

std::optional<platform::TokenHandle> SimSecurity::OpenProcessTokenForAdjusting()
{
    if (!tokenOpens || m_context.Fails("OpenProcessToken", "")) {
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
    if (!knownPrivileges.count(name) || m_context.Fails("LookupPrivilegeValueA", name)) {
        m_context.Record("LookupPrivilegeValueA", name + " (unknown)");
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
    m_context.Record("AdjustTokenPrivileges", name);
    if (!adjustSucceeds)
        return false;
    enabledPrivileges.push_back(name);
    return true;
}

void SimSecurity::CloseToken(platform::TokenHandle)
{
    m_context.Record("CloseHandle", "token");
    --openTokens;
}

bool SimSecurity::ExitWindows(std::uint32_t flags, std::uint32_t reason)
{
    m_context.Record("ExitWindowsEx", Hex(flags) + " " + std::to_string(reason));
    exitWindowsFlags.push_back(flags);
    return rebootAccepted;
}

int SimMixer::DeviceCount()
{
    int current = count;
    for (const auto& [time, newCount] : m_changes) {
        if (time <= m_context.now)
            current = newCount;
    }
    m_context.Record("mixerGetNumDevs", std::to_string(current));
    return current;
}

}  // namespace sim
