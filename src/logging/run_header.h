// The top of a run's block in the install log: the program, the Windows
// version, the command line, SourceDir, setup.ini's values as the system
// read them, and the path the dispatch chose, in words.
#pragma once

#include <optional>
#include <string>

#include "app/route.h"
#include "platform/version.h"

namespace logging {

// How each run's block begins: a blank line, a rule and the program's line.
// A file that begins so is a log of the installer's own.
inline constexpr const char* kBlockStart =
    "\r\n"
    "============================================================\r\n"
    "W2KSetup.exe, Setup Version 2.0\r\n";

class RunHeader {
public:
    explicit RunHeader(const std::string& commandLine);

    // Observed on the way: what the system read.
    void SetupIni(const std::string& path, const std::string& logFile);
    void SetupIniValue(const std::string& key, int value);
    void Windows(const platform::VersionInfo& version) { m_version = version; }

    bool IsReplacementRun() const { return m_replacementRun; }
    bool SetupIniKnown() const { return m_setupIni.has_value(); }
    bool WindowsKnown() const { return m_version.has_value(); }
    // The dispatch's choice, once the Windows version is known.
    std::optional<Route> ChosenRoute() const;

    // The header's lines, each ended by CR LF, from kBlockStart on.
    std::string Text() const;

private:
    std::string PathInWords() const;

    std::string m_commandLine;
    std::string m_upperCommandLine;
    bool m_replacementRun;
    std::optional<std::string> m_setupIni;
    std::string m_logFile;
    // [InstallOption] and [Default] "UsingCDDA" as read; 0 is also what a
    // missing key reads as.
    SetupOptions m_options;
    int m_usingCdda = 0;
    std::optional<platform::VersionInfo> m_version;
};

// "Windows XP", "Windows 98", ... from what GetVersionExA reported.
std::string WindowsName(const platform::VersionInfo& version);
// The dispatch's choice in words: "main options dialog", ...
const char* RouteInWords(Route route);

}  // namespace logging
