#pragma once

#include "logging/logged_service.h"
#include "platform/profiles.h"

namespace logging {

// Also where the log learns of setup.ini: at the system's first read of its
// [InstallOption], the layer reads "LogFile" from the same file itself.
class LoggedProfiles : public platform::Profiles, private LoggedService {
public:
    LoggedProfiles(platform::Profiles& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t bufferSize,
                          const std::string& file) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& file) override;

private:
    void ReadLogFile(const std::string& setupIni);
    void Log(const std::string& section, const std::string& key, const std::string& defaultValue,
             std::size_t bufferSize, const std::string& file, const std::string& value);

    platform::Profiles& m_inner;
};

// Whether `path` names a file called setup.ini, in any letter case.
bool IsSetupIni(const std::string& path);

}  // namespace logging
