// What a log says: the top of the run, a line per call with its step and
// result, a failure's error text, and the outcome.
#include <gtest/gtest.h>

#include "logging/log_scenarios.h"
#include "support/driver_media.h"

namespace {

using namespace log_scenarios;
using Lines = std::vector<std::string>;

// The one line that holds `part`; fails when there is none or more.
std::string TheLine(const Lines& lines, const std::string& part)
{
    const Lines found = Containing(lines, part);
    EXPECT_EQ(found.size(), 1u) << part;
    return found.empty() ? std::string() : found.front();
}

Lines RunLogged(LoggedRun& logged, const char* commandLine)
{
    logged.machine.SetupIni("InstallOption", "LogFile", "w2ksetup.log");
    logged.Run(commandLine);
    return logged.LogLines();
}

TEST(LogContent, TheTopOfATypicalRunNamesWindowsTheMediaAndThePath)
{
    LoggedRun logged;
    TypicalXpRun(logged.machine, true);
    const Lines lines = RunLogged(logged, "");
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1].substr(0, 10), "==========");
    EXPECT_EQ(lines[2], "W2KSetup.exe, Setup Version 2.0");
    EXPECT_EQ(lines[3], "Windows:       Windows XP (platform 2, 5.1.2600, \"Service Pack 2\")");
    EXPECT_EQ(lines[4], "Command line:  \"\"");
    EXPECT_EQ(lines[5], "SourceDir:     D:\\");
    EXPECT_EQ(lines[6], "setup.ini:     DriverOnly=0, WebSetup=0, InstallWDMDriver=0, UsingCDDA=1, "
                        "LogFile=\"w2ksetup.log\"");
    EXPECT_EQ(lines[7], "Path:          Windows XP, no switch, WebSetup=0: main options dialog");
    EXPECT_EQ(lines[8].substr(0, 10), "----------");
    // The lines of the start-up waited in memory for the top and follow it.
    EXPECT_EQ(lines[9], "      0 ms  start-up                        "
                        "GetEnvironmentVariableA(\"W2KSETUP_LOG\") = not set");
}

TEST(LogContent, ATypicalRunGoesThroughItsStepsToTheDirectUpdate)
{
    LoggedRun logged;
    TypicalXpRun(logged.machine, true);
    const Lines lines = RunLogged(logged, "");

    EXPECT_EQ(Steps(lines),
              (Lines{"start-up", "default sound format", "Run value", "SourceDir", "setup.ini",
                     "CD player setting", "Windows version", "main options dialog",
                     "driver notice", "legacy INF clean-up", "staging the driver package",
                     "device search", "direct update", "waiting for the new mixers",
                     "restart prompt", "end of the run"}));
    // What the user chose ("Install Applications" cleared once the dialog
    // was up), and what the update was given.
    const Lines applicationsBox = Containing(lines, "(dialog, 1001, BM_GETCHECK)");
    ASSERT_FALSE(applicationsBox.empty());
    for (const std::string& line : applicationsBox)
        EXPECT_EQ(line.substr(line.size() - 4), " = 0");
    EXPECT_EQ(TheLine(lines, "UpdateDriverForPlugAndPlayDevicesA"),
              "    200 ms  direct update                   UpdateDriverForPlugAndPlayDevicesA("
              "desktop, \"PCI\\VEN_7E2D&DEV_0111\", \"C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF\", "
              "INSTALLFLAG_FORCE) = TRUE, no restart needed");
    // Ten polls 3 s apart and a pause of 5 s after the please-wait text.
    EXPECT_EQ(TheLine(lines, "DialogBoxParamA(132, NULL) begins").substr(0, 44),
              "  35200 ms  restart prompt                  ");
    EXPECT_EQ(TheLine(lines, "ExitWindowsEx"),
              "  35200 ms  restart prompt                  ExitWindowsEx(EWX_REBOOT, 0) = TRUE");
    EXPECT_EQ(TheLine(lines, "Outcome:"),
              "  35200 ms  end of the run                  Outcome: "
              "Driver updated on the present device; restart requested.");
    EXPECT_EQ(lines.back(), "  35200 ms  end of the run                  Exit code: 0 (only \"/S\" "
                            "tells its result in the exit code)");
}

TEST(LogContent, AFailedUpdateShowsItsErrorAndTheForcedReinstall)
{
    LoggedRun logged;
    FailingUpdateRun(logged.machine);
    const Lines lines = RunLogged(logged, "");

    EXPECT_EQ(TheLine(lines, "UpdateDriverForPlugAndPlayDevicesA").substr(12),
              "direct update                   UpdateDriverForPlugAndPlayDevicesA(desktop, "
              "\"PCI\\VEN_7E2D&DEV_0111\", \"C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF\", "
              "INSTALLFLAG_FORCE) = FALSE, error 2: The system cannot find the file specified.");
    const Lines steps = Steps(lines);
    const Lines tail(steps.end() - 5, steps.end());
    EXPECT_EQ(tail, (Lines{"direct update", "forced reinstall", "waiting for the new mixers",
                           "restart prompt", "end of the run"}));
    EXPECT_NE(TheLine(lines, "SetupDiRemoveDevice(device 0) = TRUE").find("forced reinstall"),
              std::string::npos);
    EXPECT_NE(TheLine(lines, "SetupCopyOEMInfA(").find(") = TRUE"), std::string::npos);
    EXPECT_EQ(TheLine(lines, "Outcome:").substr(12),
              "end of the run                  Outcome: Device removed and reinstalled; "
              "restart declined.");
}

TEST(LogContent, TheHandOverOfWindows98)
{
    LoggedRun logged;
    Windows98HandOver(logged.machine);
    logged.machine.version.info.servicePack = " A ";  // Second Edition
    const Lines lines = RunLogged(logged, "");

    EXPECT_EQ(TheLine(lines, "Windows:"),
              "Windows:       Windows 98 (platform 1, 4.10.2222, \" A \")");
    EXPECT_EQ(TheLine(lines, "Path:"), "Path:          Windows 98, no switch, WebSetup=0, "
                                        "DriverOnly=1: hand-over to the media's Setup.exe");
    EXPECT_EQ(TheLine(lines, "WinExec(").substr(12),
              "hand-over                       WinExec(\"D:\\Setup.exe /DRIVER\", SW_SHOW) = 33");
    EXPECT_EQ(TheLine(lines, "Outcome:").substr(12), "end of the run                  Outcome: "
                                                  "Hand-over started: D:\\Setup.exe /DRIVER.");
    // A failed hand-over gives WinExec's answer, with its text.
    LoggedRun missing;
    Windows98HandOver(missing.machine);
    missing.machine.files.Erase("D:\\Setup.exe");
    const Lines failed = RunLogged(missing, "");
    EXPECT_EQ(TheLine(failed, "WinExec(").substr(44),
              "WinExec(\"D:\\Setup.exe /DRIVER\", SW_SHOW) = 2, error 2: The system cannot find "
              "the file specified.");
    EXPECT_EQ(TheLine(failed, "Outcome:").substr(44),
              "Outcome: Hand-over failed: WinExec answered 2.");
    EXPECT_EQ(failed.back().substr(44),
              "Exit code: 0 (only \"/S\" tells its result in the exit code)");
}

// The last lines of other runs: what happened, or why nothing did, and the
// exit code with its meaning.
TEST(LogContent, TheOutcomeOfOtherRuns)
{
    struct Case {
        const char* name;
        std::function<void(SetupMachine&)> setUp;
        const char* commandLine;
        const char* outcome;
        const char* exitCode = "0 (only \"/S\" tells its result in the exit code)";
    };
    const Case cases[] = {
        {"package", PackageRun, "/AP", "Package setup started."},
        {"package missing",
         [](SetupMachine&) {}, "/AP",
         "Package setup not started: \"Can not find the PCI Audio Applications setup program.\"."},
        {"web set-up without the driver", WebSetupWithoutDriver, "",
         "Nothing installed: WebSetup=1 without InstallWDMDriver."},
        {"main dialog cancelled",
         [](SetupMachine& m) {
             m.AddPackage();
             m.dialogs.Expect(102, [](sim::SimDialog& dialog) { dialog.PressCancel(); });
         },
         "", "Nothing installed: the options dialog was cancelled."},
        {"media without the package",
         [](SetupMachine&) {}, "", "Nothing installed: \"Can not find installation files.\"."},
        {"no device",
         [](SetupMachine& m) {
             m.InstallOption("WebSetup", 2);
             driver_media::AddDriverPackage(m, "D:\\", "web");
             driver_media::AnswerRestartPrompt(m, false);
         },
         "", "No device (INF registered for its next start); restart declined."},
        {"replacement without Mixer.dat",
         [](SetupMachine& m) { m.desktop.AddWindow("Mixer"); }, "-ReplaceMixer",
         "Mixer not replaced: no Mixer.dat in the Windows directory."},
        {"replacement for a user who may not write the Run key",
         [](SetupMachine& m) {
             MixerReplacementRun(m);
             m.registry.MakeReadOnly(platform::RootKey::LocalMachine, SetupMachine::kRunKey);
         },
         "-ReplaceMixer",
         "Mixer not replaced: the Run key does not open for writing."},
        {"silent, the device present", SilentXpRun, "/S", "Driver updated on the present device.",
         "3010 (installed, a restart is needed)"},
        {"silent without the driver's INF",
         [](SetupMachine& m) {
             SilentXpRun(m);
             m.files.Erase("D:\\WinXP\\drv\\QNAUDIO.INF");
         },
         "/s", "Nothing installed: no QNAUDIO.INF reached the staging folder.",
         "1603 (nothing was installed or the installation failed)"},
        {"silent on Windows 98", Windows98HandOver, "-SILENT",
         "Nothing started: this Windows has no unattended path.",
         "1633 (this Windows has no unattended path)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoggedRun logged;
        c.setUp(logged.machine);
        logged.machine.processes.SetEnvironment("W2KSETUP_LOG", "w2ksetup.log");
        logged.Run(c.commandLine);
        const Lines lines = logged.LogLines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2].substr(44), std::string("Outcome: ") + c.outcome);
        EXPECT_EQ(lines.back().substr(44), std::string("Exit code: ") + c.exitCode);
        EXPECT_EQ(Containing(lines, "Outcome:").size(), 1u);
    }
}

}  // namespace
