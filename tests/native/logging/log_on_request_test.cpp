// How a log is asked for, and what a run without one costs: the layer stands
// in front of every run, but until a log is asked for it only forwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "logging/log_scenarios.h"
#include "logging/run_log.h"

namespace {

using namespace log_scenarios;

constexpr const char* kLookup = "0 GetEnvironmentVariableA W2KSETUP_LOG (not set)";

// The logged run's calls without the one lookup at its start and, where the
// run reads setup.ini, the one LogFile read right after the system's first
// [InstallOption] read.
std::vector<std::string> WithoutTheLayersReads(std::vector<std::string> calls, bool readsSetupIni)
{
    EXPECT_FALSE(calls.empty());
    if (calls.empty())
        return calls;
    EXPECT_EQ(calls.front(), kLookup);
    calls.erase(calls.begin());
    auto logFile = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
        return call.find("[InstallOption] LogFile") != std::string::npos;
    });
    if (!readsSetupIni) {
        EXPECT_EQ(logFile, calls.end());
        return calls;
    }
    EXPECT_NE(logFile, calls.end());
    if (logFile == calls.end())
        return calls;
    EXPECT_NE(logFile, calls.begin());
    EXPECT_EQ(*(logFile - 1), "0 GetPrivateProfileIntA [InstallOption] DriverOnly D:\\setup.ini");
    EXPECT_EQ(*logFile, "0 GetPrivateProfileStringA [InstallOption] LogFile D:\\setup.ini");
    calls.erase(logFile);
    return calls;
}

TEST(LogOnRequest, WithoutALogEveryRunMakesItsCallsButTheLookupAndTheLogFileRead)
{
    for (const Scenario& scenario : All()) {
        SCOPED_TRACE(scenario.name);
        SetupMachine plain;
        scenario.setUp(plain);
        const InstallerRun plainRun = plain.Run(scenario.commandLine);

        LoggedRun logged;
        scenario.setUp(logged.machine);
        logged.Run(scenario.commandLine);

        EXPECT_EQ(WithoutTheLayersReads(Calls(logged.machine.log()), scenario.readsSetupIni),
                  Calls(plain.log()));
        EXPECT_EQ(logged.result.exited, plainRun.exited);
        EXPECT_EQ(logged.result.exitCode, plainRun.exitCode);
        // No file anywhere, no error text looked up.
        EXPECT_EQ(Files(logged.machine), Files(plain));
        EXPECT_EQ(logged.machine.log().Count("FormatMessageA"), 0u);
    }
}

// With a log, the system's own calls stay the same: the log's are its own.
TEST(LogOnRequest, ALogAddsOnlyCallsOfItsOwn)
{
    for (const Scenario& scenario : All()) {
        SCOPED_TRACE(scenario.name);
        SetupMachine plain;
        scenario.setUp(plain);
        plain.Run(scenario.commandLine);

        LoggedRun logged;
        scenario.setUp(logged.machine);
        logged.machine.processes.SetEnvironment("W2KSETUP_LOG", "C:\\setup log.txt");
        logged.Run(scenario.commandLine);

        std::vector<std::string> calls = Calls(logged.machine.log());
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), "0 GetEnvironmentVariableA W2KSETUP_LOG = C:\\setup log.txt");
        calls.front() = kLookup;
        calls.erase(std::remove_if(calls.begin(), calls.end(),
                                   [](const std::string& call) {
                                       return call.find(" FormatMessageA ") != std::string::npos ||
                                              call.find(" fopen C:\\setup log.txt ab") !=
                                                  std::string::npos ||
                                              call.find("C:\\setup log.txt (for the log)") !=
                                                  std::string::npos;
                                   }),
                    calls.end());
        EXPECT_EQ(WithoutTheLayersReads(calls, scenario.readsSetupIni), Calls(plain.log()));
        EXPECT_FALSE(logged.LogLines("C:\\setup log.txt").empty());
    }
}

TEST(LogOnRequest, LogFileOfSetupIniOrTheVariableNamesTheFile)
{
    struct Case {
        const char* logFile;   // in setup.ini; nullptr: none
        const char* variable;  // W2KSETUP_LOG; nullptr: unset
        const char* written;
    };
    const Case cases[] = {
        {"w2ksetup.log", nullptr, "C:\\WINDOWS\\w2ksetup.log"},     // in the Windows directory
        {"logs\\setup.log", nullptr, "C:\\WINDOWS\\logs\\setup.log"},
        {"C:\\setup.log", nullptr, "C:\\setup.log"},
        {"\\setup.log", nullptr, "\\setup.log"},                     // the current drive's root
        {"\"C:\\my logs\\setup.log\"", nullptr, "C:\\my logs\\setup.log"},
        {"w2ksetup.log", "C:\\from the variable.log", "C:\\from the variable.log"},
        {nullptr, "\"C:\\quoted.log\"", "C:\\quoted.log"},
        {nullptr, "variable.log", "C:\\WINDOWS\\variable.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        LoggedRun logged;
        Windows98HandOver(logged.machine);
        logged.machine.files.AddFolder("C:\\WINDOWS\\logs");
        logged.machine.files.AddFolder("C:\\my logs");
        if (c.logFile)
            logged.machine.SetupIni("InstallOption", "LogFile", c.logFile);
        if (c.variable)
            logged.machine.processes.SetEnvironment("W2KSETUP_LOG", c.variable);
        logged.Run("");
        const std::vector<std::string> lines = logged.LogLines(c.written);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(Containing(lines, "Outcome:").size(), 1u);
        // The only file written: the top, the lines that waited for it, the
        // hand-over's two calls, the outcome.
        const std::string append = std::string("fopen ") + c.written + " ab";
        EXPECT_EQ(logged.machine.log().Sequence({"fopen"}), std::vector<std::string>(5, append));
    }
}

TEST(LogOnRequest, AnEmptyLogFileOrVariableAsksForNoLog)
{
    LoggedRun logged;
    Windows98HandOver(logged.machine);
    logged.machine.SetupIni("InstallOption", "LogFile", "");
    logged.machine.processes.SetEnvironment("W2KSETUP_LOG", "");
    logged.Run("");
    EXPECT_EQ(logged.machine.log().Count("fopen"), 0u);
    EXPECT_EQ(logged.machine.log().Details("WinExec").size(), 1u);
}

// The run after the restart never reads setup.ini: only the variable can
// ask for its log.
TEST(LogOnRequest, TheMixerReplacementLogsOnlyForTheVariable)
{
    LoggedRun withLogFile;
    MixerReplacementRun(withLogFile.machine);
    withLogFile.machine.SetupIni("InstallOption", "LogFile", "w2ksetup.log");
    withLogFile.Run("-ReplaceMixer");
    EXPECT_EQ(withLogFile.machine.log().Count("fopen"), 1u) << "Mixer.dat only";
    EXPECT_TRUE(withLogFile.LogLines().empty());

    LoggedRun withVariable;
    MixerReplacementRun(withVariable.machine);
    withVariable.machine.processes.SetEnvironment("W2KSETUP_LOG", "w2ksetup.log");
    withVariable.Run("-ReplaceMixer");
    const std::vector<std::string> lines = withVariable.LogLines();
    EXPECT_EQ(Containing(lines, "Path:          mixer replacement after the restart").size(), 1u);
    EXPECT_EQ(Containing(lines, "Windows:       not asked in this run").size(), 1u);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(Containing(lines, "Outcome: Mixer replaced; the mixer was started.").size(), 1u);
}

// Without the variable, the run after the restart has no log from its start:
// the layer keeps none of its calls only to drop them at the end.
TEST(LogOnRequest, TheMixerReplacementWithoutTheVariableKeepsNothing)
{
    struct Case {
        const char* commandLine;
        std::optional<std::string> variable;
        bool recording;
    };
    const Case cases[] = {
        {"-ReplaceMixer", std::nullopt, false},
        {"-replacemixer", std::nullopt, false},
        {"-ReplaceMixer", std::string("\"\""), false},  // names no file
        {"-ReplaceMixer", std::string("w2ksetup.log"), true},
        {"", std::nullopt, true},  // setup.ini may still ask for a log
    };
    LoggedRun logged;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        logging::RunLog log(logged.host, c.commandLine);
        log.Begin(c.variable);
        EXPECT_EQ(log.Recording(), c.recording);
    }
}

}  // namespace
