// Writing the log: appended one block per run, given up at the first write
// that fails, and at most 1 MB a run.
#include <gtest/gtest.h>

#include "logging/log_scenarios.h"
#include "logging/run_log.h"

namespace {

using namespace log_scenarios;
using Lines = std::vector<std::string>;

std::size_t CountOf(const Lines& lines, const std::string& part)
{
    return Containing(lines, part).size();
}

TEST(LogWriting, EachRunAppendsItsBlock)
{
    LoggedRun logged;
    Windows98HandOver(logged.machine);
    logged.machine.SetupIni("InstallOption", "LogFile", "w2ksetup.log");
    logged.Run("");
    const std::string first = logged.machine.files.Read(kWindowsLog).value_or("");
    ASSERT_FALSE(first.empty());

    logged.machine.log().Clear();
    logged.Run("/ap");
    const std::string both = logged.machine.files.Read(kWindowsLog).value_or("");
    EXPECT_EQ(both.substr(0, first.size()), first);
    const Lines lines = logged.LogLines();
    EXPECT_EQ(CountOf(lines, "W2KSetup.exe, Setup Version 2.0"), 2u);
    EXPECT_EQ(CountOf(lines, "Outcome: Hand-over started: D:\\Setup.exe /"), 2u);
    EXPECT_EQ(CountOf(lines, "Command line:  \"/ap\""), 1u);
}

// A log on the read-only media, in a folder that does not exist or in a
// read-only file: the first write fails, and the run is the run without a log.
TEST(LogWriting, ALogThatCannotBeWrittenChangesNothingElse)
{
    struct Case {
        const char* path;
        std::function<void(SetupMachine&)> prepare;
    };
    const Case cases[] = {
        {"D:\\w2ksetup.log", [](SetupMachine& m) { m.files.readOnlyDrives = {"D:"}; }},
        {"C:\\No such folder\\w2ksetup.log", [](SetupMachine&) {}},
        {"Q:\\w2ksetup.log", [](SetupMachine&) {}},
        {"C:\\w2ksetup.log",
         [](SetupMachine& m) {
             m.files.AddFile("C:\\w2ksetup.log", std::string(logging::kBlockStart) + "an older run",
                             platform::kAttributeReadOnly);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SetupMachine plain;
        TypicalXpRun(plain, false);
        plain.SetupIni("InstallOption", "LogFile", c.path);
        c.prepare(plain);
        plain.Run("");

        LoggedRun logged;
        TypicalXpRun(logged.machine, false);
        logged.machine.SetupIni("InstallOption", "LogFile", c.path);
        c.prepare(logged.machine);
        logged.Run("");

        // The one write that failed, and nothing else of the log's.
        const std::vector<std::string> calls = Calls(logged.machine.log());
        const std::vector<std::string> writes = Containing(calls, " ab");
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_NE(writes[0].find(std::string("fopen ") + c.path + " ab (not opened)"),
                  std::string::npos);
        EXPECT_EQ(WithoutTheLogsOwnCalls(calls), Calls(plain.log()));
        EXPECT_EQ(Files(logged.machine), Files(plain));
    }
}

TEST(LogWriting, AWriteThatFailsLaterEndsTheLogThere)
{
    LoggedRun logged;
    TypicalXpRun(logged.machine, false);
    logged.machine.SetupIni("InstallOption", "LogFile", "w2ksetup.log");
    // The top, the start-up's lines, then the third write fails.
    logged.machine.faults.Fail("fopen", "w2ksetup.log ab", 1, 2);
    logged.Run("");

    const Lines lines = logged.LogLines();
    EXPECT_EQ(CountOf(lines, "Outcome:"), 0u);
    EXPECT_EQ(CountOf(lines, " ms  "), 15u) << "the start-up's lines, up to the Windows version";
    EXPECT_EQ(CountOf(Calls(logged.machine.log()), "w2ksetup.log ab"), 3u) << "no try after";
    // The run itself went on to its end: the update and the restart prompt.
    EXPECT_EQ(logged.machine.devices.updates.size(), 1u);
    EXPECT_EQ(logged.machine.log().Details("DialogBoxParamA"),
              (std::vector<std::string>{"102", "132"}));
}

// A log that lives in memory, for a run of many calls.
class MemoryHost : public logging::LogHost {
public:
    std::string file;
    int appends = 0;
    std::uint32_t Milliseconds() override { return 0; }
    std::uint32_t LastError() override { return 0; }
    std::string ErrorText(std::uint32_t) override { return "The text."; }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    logging::PathLook Look(const std::string&, std::size_t count) override
    {
        if (file.empty())
            return {logging::PathLook::Kind::Nothing, ""};
        return {logging::PathLook::Kind::File, file.substr(0, count)};
    }
    bool Append(const std::string&, const std::string& bytes) override
    {
        file += bytes;
        ++appends;
        return true;
    }
    // The file's lines without their CR LF.
    Lines FileLines() const
    {
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < file.size();) {
            const std::size_t end = file.find("\r\n", start);
            lines.push_back(file.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
};

// Each call stays one line with its own error, whether it waited for the top
// or was written at once, when a value holds a line break.
TEST(LogWriting, ALineBreakInAValueKeepsEachCallOnOneLine)
{
    MemoryHost host;
    logging::RunLog log(host, "");
    log.Begin(std::string("C:\\w2ksetup.log"));
    log.Call(0, "RegQueryValueExA(\"Notes\") = \"first\r\nsecond\"");
    log.Call(2, "DeleteFileA(\"C:\\Notes.txt\") = FALSE");
    log.WindowsVersion(platform::VersionInfo{2, 5, 1, 2600});
    log.Call(0, "RegQueryValueExA(\"Notes\") = \"third\nfourth\r\"");
    log.Call(2, "DeleteFileA(\"C:\\Notes.txt\") = FALSE");
    log.Finish(0);

    Lines calls;
    for (const std::string& line : Containing(host.FileLines(), "Notes"))
        calls.push_back(line.substr(44));
    EXPECT_EQ(calls, (Lines{"RegQueryValueExA(\"Notes\") = \"first  second\"",
                            "DeleteFileA(\"C:\\Notes.txt\") = FALSE, error 2: The text.",
                            "RegQueryValueExA(\"Notes\") = \"third fourth \"",
                            "DeleteFileA(\"C:\\Notes.txt\") = FALSE, error 2: The text."}));
}

TEST(LogWriting, ARunWritesAtMostOneMegabyteAndSaysWhereItWasCut)
{
    MemoryHost host;
    logging::RunLog log(host, "");
    // The lookup as the layer logs it, a line that waits for the top.
    log.Call(0, "GetEnvironmentVariableA(\"W2KSETUP_LOG\") = \"C:\\w2ksetup.log\"");
    log.Begin(std::string("C:\\w2ksetup.log"));
    log.WindowsVersion(platform::VersionInfo{2, 5, 1, 2600});
    const std::string path = "C:\\" + std::string(200, 'x');
    constexpr int kCalls = 8000;  // about 2 MB of lines
    for (int i = 0; i < kCalls; ++i)
        log.Call(i % 2 ? 2 : 0, "DeleteFileA(\"%s\") = %s", path.c_str(), i % 2 ? "FALSE" : "TRUE");
    log.Finish(0);

    EXPECT_LE(host.file.size(), logging::kRunLimit);
    EXPECT_GE(host.file.size(), logging::kRunLimit - 16 * 1024);
    const Lines lines = host.FileLines();
    // A blank line, the top's 8, the lookup of the variable, the calls, the
    // line saying the rest was cut, the outcome and the exit code.
    ASSERT_GE(lines.size(), 13u);
    const std::size_t callLines = lines.size() - 13;
    EXPECT_EQ(lines[lines.size() - 3].substr(44),
              "(the rest of this run is left out: a run writes at most 1 MB)");
    EXPECT_EQ(lines[lines.size() - 2].substr(44), "Outcome: Nothing installed.");
    EXPECT_EQ(lines.back().substr(44),
              "Exit code: 0 (only \"/S\" tells its result in the exit code)");
    EXPECT_EQ(CountOf(lines, "left out"), 1u);
    EXPECT_EQ(CountOf(lines, ": The text."), callLines / 2) << "every second call failed";
    // One write a line, the top's and the waiting lines' two; nothing after
    // the cut but the outcome.
    EXPECT_EQ(static_cast<std::size_t>(host.appends), 2 + callLines + 2);
}

}  // namespace
