#pragma once

#include "logging/logged_service.h"
#include "platform/registry.h"

namespace logging {

class LoggedRegistry : public platform::Registry, private LoggedService {
public:
    LoggedRegistry(platform::Registry& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

    std::optional<platform::RegKey> OpenKey(platform::RootKey root, const std::string& subKey,
                                            platform::RegAccess access) override;
    std::optional<platform::RegText> QueryString(platform::RegKey key, const std::string& name,
                                                 std::size_t bufferSize) override;
    bool SetString(platform::RegKey key, const std::string& name,
                   const std::string& text) override;
    bool DeleteValue(platform::RegKey key, const std::string& name) override;
    void CloseKey(platform::RegKey key) override;

private:
    platform::Registry& m_inner;
};

}  // namespace logging
