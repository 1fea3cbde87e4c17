// The smaller services of the simulated machine: its version, the pauses on
// the virtual clock, the thread's last error, the process token and the
// reboot request, and the mixer count over time.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/mixer.h"
#include "platform/security.h"
#include "sim/sim_context.h"
#include "platform/version.h"

namespace sim {

class SimVersion : public platform::Version {
public:
    explicit SimVersion(SimContext& context) : m_context(context) {}
    platform::VersionInfo info{2, 5, 1, 2600};  // Windows XP
    platform::VersionInfo Query() override;

private:
    SimContext& m_context;
};

class SimClock : public platform::Clock {
public:
    explicit SimClock(SimContext& context) : m_context(context) {}
    void Sleep(std::uint32_t milliseconds) override;
    void SleepEx(std::uint32_t milliseconds) override;
    // The lengths of all pauses (Sleep and SleepEx) in order.
    std::vector<std::uint32_t> Pauses() const;

private:
    // Both calls pause the same way: the virtual clock moves on.
    void Pause(const char* function, std::uint32_t milliseconds);

    SimContext& m_context;
};

class SimErrors : public platform::Errors {
public:
    explicit SimErrors(SimContext& context) : m_context(context) {}
    std::uint32_t LastError() override;
    void SetLastError(std::uint32_t code) override;

private:
    SimContext& m_context;
};

class SimSecurity : public platform::Security {
public:
    explicit SimSecurity(SimContext& context) : m_context(context) {}

    // The machine's side, for tests.
    bool tokenOpens = true;
    std::uint32_t tokenError = 0;  // the last error when it does not open
    std::set<std::string> knownPrivileges{"SeShutdownPrivilege"};
    bool adjustSucceeds = true;
    bool rebootAccepted = true;
    std::vector<std::string> enabledPrivileges;
    std::vector<std::uint32_t> exitWindowsFlags;
    int openTokens = 0;

    std::optional<platform::TokenHandle> OpenProcessTokenForAdjusting() override;
    std::optional<platform::Luid> LookupPrivilege(const std::string& name) override;
    bool EnablePrivilege(platform::TokenHandle token, const platform::Luid& privilege) override;
    void CloseToken(platform::TokenHandle token) override;
    bool ExitWindows(std::uint32_t flags, std::uint32_t reason) override;

private:
    SimContext& m_context;
    std::map<std::uint32_t, std::string> m_luids;
};

class SimMixer : public platform::Mixer {
public:
    explicit SimMixer(SimContext& context) : m_context(context) {}

    // The machine's side: the count is `count` until the first change takes
    // effect; each change sets a new count from a virtual time on.
    int count = 0;
    void ChangeAt(std::uint64_t time, int newCount) { m_changes[time] = newCount; }

    int DeviceCount() override;

private:
    SimContext& m_context;
    std::map<std::uint64_t, int> m_changes;
};

}  // namespace sim
