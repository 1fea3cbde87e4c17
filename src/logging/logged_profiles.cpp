#include "logging/logged_profiles.h"

#include "common/ascii.h"

namespace logging {

namespace {

constexpr std::size_t kPathBuffer = 260;  // MAX_PATH

}  // namespace

bool IsSetupIni(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/:");
    return SameTextIgnoringCase(path.c_str() + (slash == std::string::npos ? 0 : slash + 1),
                                "setup.ini");
}

int LoggedProfiles::GetInt(const std::string& section, const std::string& key, int defaultValue,
                           const std::string& file)
{
    const int value = m_inner.GetInt(section, key, defaultValue, file);
    if (!Recording())
        return value;
    m_log.Call(0, "GetPrivateProfileIntA(\"%s\", \"%s\", %d, \"%s\") = %d", section.c_str(),
               key.c_str(), defaultValue, file.c_str(), value);
    if (IsSetupIni(file)) {
        m_log.Header().SetupIniValue(key, value);
        if (!m_log.Header().SetupIniKnown() && SameTextIgnoringCase(section.c_str(), "InstallOption")) {
            ReadLogFile(file);
        }
    }
    return value;
}

void LoggedProfiles::ReadLogFile(const std::string& setupIni)
{
    // Through the service behind the layer: with the lookup of the variable,
    // the one call a run without a log makes for it.
    const std::string section = "InstallOption";
    const std::string key = "LogFile";
    const std::string none;
    const std::string logFile = m_inner.GetString(section, key, none, kPathBuffer, setupIni);
    Log(section, key, none, kPathBuffer, setupIni, logFile);
    m_log.SetupIniRead(setupIni, logFile);
}

void LoggedProfiles::Log(const std::string& section, const std::string& key,
                         const std::string& defaultValue, std::size_t bufferSize,
                         const std::string& file, const std::string& value)
{
    m_log.Call(0, "GetPrivateProfileStringA(\"%s\", \"%s\", \"%s\", %u, \"%s\") = \"%s\"",
               section.c_str(), key.c_str(), defaultValue.c_str(),
               static_cast<unsigned>(bufferSize), file.c_str(), value.c_str());
}

std::string LoggedProfiles::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue, std::size_t bufferSize,
                                      const std::string& file)
{
    std::string value = m_inner.GetString(section, key, defaultValue, bufferSize, file);
    if (Recording())
        Log(section, key, defaultValue, bufferSize, file, value);
    return value;
}

bool LoggedProfiles::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& file)
{
    const bool written = m_inner.WriteString(section, key, value, file);
    if (Recording())
        m_log.Call(ErrorIf(!written), "WritePrivateProfileStringA(\"%s\", \"%s\", \"%s\", \"%s\") = %s",
                   section.c_str(), key.c_str(), value.c_str(), file.c_str(), BoolText(written));
    return written;
}

}  // namespace logging
