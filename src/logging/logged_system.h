// The smaller logged services: the Windows version, the pauses, the last
// error, the mixer count and the token with the reboot request.
#pragma once

#include "platform/clock.h"
#include "platform/errors.h"
#include "logging/logged_service.h"
#include "platform/mixer.h"
#include "platform/security.h"
#include "platform/version.h"

namespace logging {

// The system's first GetVersionExA also completes the top of the run.
class LoggedVersion : public platform::Version, private LoggedService {
public:
    LoggedVersion(platform::Version& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}
    platform::VersionInfo Query() override;

private:
    platform::Version& m_inner;
};

class LoggedClock : public platform::Clock, private LoggedService {
public:
    LoggedClock(platform::Clock& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}
    void Sleep(std::uint32_t milliseconds) override;
    void SleepEx(std::uint32_t milliseconds) override;

private:
    platform::Clock& m_inner;
};

class LoggedErrors : public platform::Errors, private LoggedService {
public:
    LoggedErrors(platform::Errors& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}
    std::uint32_t LastError() override;
    void SetLastError(std::uint32_t code) override;

private:
    platform::Errors& m_inner;
};

class LoggedMixer : public platform::Mixer, private LoggedService {
public:
    LoggedMixer(platform::Mixer& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}
    int DeviceCount() override;

private:
    platform::Mixer& m_inner;
};

class LoggedSecurity : public platform::Security, private LoggedService {
public:
    LoggedSecurity(platform::Security& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}
    std::optional<platform::TokenHandle> OpenProcessTokenForAdjusting() override;
    std::optional<platform::Luid> LookupPrivilege(const std::string& name) override;
    bool EnablePrivilege(platform::TokenHandle token, const platform::Luid& privilege) override;
    void CloseToken(platform::TokenHandle token) override;
    bool ExitWindows(std::uint32_t flags, std::uint32_t reason) override;

private:
    platform::Security& m_inner;
};

}  // namespace logging
