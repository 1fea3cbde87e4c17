#include "logging/run_header.h"

#include "app/command_line.h"
#include "common/ascii.h"
#include "common/os_class.h"
#include "logging/log_format.h"

namespace logging {

namespace {

// A command line may be 32 KB long; the header shows its start.
constexpr std::size_t kShownCommandLine = 1024;

struct NtName {
    std::uint32_t major;
    std::uint32_t minor;
    const char* name;
};

constexpr NtName kNtNames[] = {
    {5, 0, "Windows 2000"}, {5, 1, "Windows XP"}, {5, 2, "Windows Server 2003"},
    {6, 0, "Windows Vista"}, {6, 1, "Windows 7"},
};

}  // namespace

std::string WindowsName(const platform::VersionInfo& version)
{
    const OsClass os = ComputeOsClass(version);
    if (os.m_bWin95)
        return "Windows 95";
    if (os.m_bWin98)
        return "Windows 98";
    if (os.m_bWinME)
        return "Windows ME";
    for (const NtName& known : kNtNames) {
        if (os.m_bWin2000 && version.majorVersion == known.major &&
            version.minorVersion == known.minor)
            return known.name;
    }
    return Format("Windows NT %u.%u", version.majorVersion, version.minorVersion);
}

const char* RouteInWords(Route route)
{
    switch (route) {
    case Route::HandOver:
        return "hand-over to the media's Setup.exe";
    case Route::Package:
        return "application package";
    case Route::DriverSwitch:
        return "driver installation without a dialog";
    case Route::MainDialog:
        return "main options dialog";
    case Route::Win2000Dialog:
        return "Windows 2000/XP driver options dialog";
    case Route::WebNothing:
        return "nothing to install";
    case Route::Silent:
        return "silent driver installation, its result in the exit code";
    case Route::SilentUnavailable:
        return "none: this Windows has no unattended path";
    case Route::WebSilent:
        break;
    }
    return "unattended driver installation";
}

RunHeader::RunHeader(const std::string& commandLine)
    : m_commandLine(commandLine),
      m_upperCommandLine(UpperCased(commandLine)),
      m_replacementRun(IsReplaceMixerLiteral(m_upperCommandLine))
{
}

void RunHeader::SetupIni(const std::string& path, const std::string& logFile)
{
    m_setupIni = path;
    m_logFile = logFile;
}

void RunHeader::SetupIniValue(const std::string& key, int value)
{
    if (SameTextIgnoringCase(key.c_str(), "DriverOnly"))
        m_options.driverOnly = value;
    else if (SameTextIgnoringCase(key.c_str(), "WebSetup"))
        m_options.webSetup = value;
    else if (SameTextIgnoringCase(key.c_str(), "InstallWDMDriver"))
        m_options.installWdmDriver = value;
    else if (SameTextIgnoringCase(key.c_str(), "UsingCDDA"))
        m_usingCdda = value;
}

std::optional<Route> RunHeader::ChosenRoute() const
{
    if (m_replacementRun || !m_version)
        return std::nullopt;
    return ChooseRoute(ComputeOsClass(*m_version), m_upperCommandLine, m_options);
}

std::string RunHeader::PathInWords() const
{
    if (m_replacementRun)
        return "mixer replacement after the restart";
    const std::optional<Route> route = ChosenRoute();
    if (!route)
        return "none: the run ended before it asked for the Windows version";
    const bool noSwitch = m_upperCommandLine.empty();
    std::string words = Format("%s, %s%s%s, WebSetup=%d", WindowsName(*m_version).c_str(),
                               noSwitch ? "no switch" : "switch \"", m_commandLine.c_str(),
                               noSwitch ? "" : "\"", m_options.webSetup);
    if (m_options.driverOnly != 0)
        words += Format(", DriverOnly=%d", m_options.driverOnly);
    if (m_options.webSetup == 1)
        words += Format(", InstallWDMDriver=%d", m_options.installWdmDriver);
    return words.append(": ").append(RouteInWords(*route));
}

std::string RunHeader::Text() const
{
    std::string windows = "not asked in this run";
    if (m_version) {
        // Windows 95, 98 and ME keep their version in the build number's high word.
        const std::uint32_t build = m_version->platformId == 1 ? m_version->buildNumber & 0xFFFF
                                                               : m_version->buildNumber;
        // The service pack as Windows gives it: Windows 98 SE says " A ".
        windows = Format("%s (platform %u, %u.%u.%u, \"%s\")", WindowsName(*m_version).c_str(),
                         m_version->platformId, m_version->majorVersion,
                         m_version->minorVersion, build, m_version->servicePack.c_str());
    }
    std::string setupIni = "not read in this run";
    std::string sourceDir = setupIni;
    if (m_setupIni) {
        sourceDir = m_setupIni->substr(0, m_setupIni->rfind('\\') + 1);
        setupIni = Format("DriverOnly=%d, WebSetup=%d, InstallWDMDriver=%d, UsingCDDA=%d, "
                          "LogFile=\"%s\"",
                          m_options.driverOnly, m_options.webSetup, m_options.installWdmDriver,
                          m_usingCdda, m_logFile.c_str());
    }
    const std::string commandLine = m_commandLine.substr(0, kShownCommandLine);
    return Format("%s"
                  "Windows:       %s\r\n"
                  "Command line:  \"%s\"%s\r\n"
                  "SourceDir:     %s\r\n"
                  "setup.ini:     %s\r\n"
                  "Path:          %s\r\n"
                  "------------------------------------------------------------\r\n",
                  kBlockStart, windows.c_str(), commandLine.c_str(),
                  commandLine.size() < m_commandLine.size() ? "..." : "", sourceDir.c_str(),
                  setupIni.c_str(), PathInWords().c_str());
}

}  // namespace logging
