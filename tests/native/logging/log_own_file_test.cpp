// The log writes only into a file of its own: a file it creates, or one that
// begins with a block of the log. Any other path is given up as a log that
// cannot be written is, and the run is the run without a log.
#include <gtest/gtest.h>

#include "logging/log_scenarios.h"
#include "logging/own_log_file.h"
#include "logging/run_header.h"

namespace {

using namespace log_scenarios;
using Lines = std::vector<std::string>;

// The functions the log called to look at its file, in order.
Lines LooksAtTheFile(const Lines& calls)
{
    Lines looks;
    for (const std::string& call : Containing(calls, "(for the log)")) {
        const std::size_t function = call.find(' ') + 1;
        const std::string name = call.substr(function, call.find(' ', function) - function);
        if (name != "GetWindowsDirectoryA")
            looks.push_back(name);
    }
    return looks;
}

TEST(LogOwnFile, AnyOtherPathIsGivenUpAndTheRunGoesOnUnchanged)
{
    const Lines searched{"FindFirstFileA"};
    const Lines searchedAndRead{"FindFirstFileA", "fopen"};
    struct Case {
        const char* variable;  // W2KSETUP_LOG; nullptr: setup.ini's LogFile names it
        const char* requested;
        std::function<void(SetupMachine&)> prepare;
        Lines looks;
        bool lookFails = false;
    };
    const auto file = [](const char* path, std::string bytes) {
        return [path, bytes](SetupMachine& m) { m.files.AddFile(path, bytes); };
    };
    const auto none = [](SetupMachine&) {};
    const Case cases[] = {
        // Files that are not a log: the lines would run at the next boot, or
        // land in the settings of every program.
        {"W2KSETUP_LOG", "C:\\AUTOEXEC.BAT", file("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nPATH C:\\WINDOWS\r\n"),
         searchedAndRead},
        {nullptr, "win.ini", file("C:\\WINDOWS\\WIN.INI", "[windows]\r\nload=\r\n"), searchedAndRead},
        // An empty file, and one that holds a block's start but not from its
        // first byte.
        {"W2KSETUP_LOG", "C:\\AUTOEXEC.BAT", file("C:\\AUTOEXEC.BAT", ""), searchedAndRead},
        {"W2KSETUP_LOG", "C:\\w2ksetup.log",
         file("C:\\w2ksetup.log", std::string(logging::kBlockStart).substr(2)), searchedAndRead},
        // A folder, and a look that fails: nothing is known of the path.
        {"W2KSETUP_LOG", "C:\\Logs", [](SetupMachine& m) { m.files.AddFolder("C:\\Logs"); },
         searched},
        {"W2KSETUP_LOG", "C:\\w2ksetup.log", none, searched, true},
        // Devices, in any folder, with an extension, in any case: never
        // looked at. The simulated Windows has none, so a "file" would show.
        {"W2KSETUP_LOG", "LPT1", none, {}},
        {"W2KSETUP_LOG", "C:\\Logs\\con.txt", none, {}},
        {nullptr, "nul", none, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        const auto setUp = [&c](SetupMachine& m) {
            Windows98HandOver(m);
            m.files.AddFolder("C:\\Logs");
            c.prepare(m);
            if (c.variable)
                m.processes.SetEnvironment(c.variable, c.requested);
            else
                m.SetupIni("InstallOption", "LogFile", c.requested);
        };
        SetupMachine plain;
        setUp(plain);
        plain.Run("");

        LoggedRun logged;
        setUp(logged.machine);
        if (c.lookFails)
            logged.machine.faults.Fail("FindFirstFileA", "(for the log)");
        logged.Run("");

        const Lines calls = Calls(logged.machine.log());
        EXPECT_EQ(LooksAtTheFile(calls), c.looks);
        EXPECT_EQ(Containing(calls, " ab"), Lines{}) << "no write";
        EXPECT_EQ(WithoutTheLogsOwnCalls(calls), Calls(plain.log()));
        EXPECT_EQ(Files(logged.machine), Files(plain));
    }
}

TEST(LogOwnFile, DeviceNamesAreKnownInEverySpellingAndOtherNamesAreFiles)
{
    for (const char* device :
         {"CON", "prn", "Aux", "NUL", "COM1", "com9", "LPT1", "lpt9", "CLOCK$", "COM0", "LPT\xB9",
          "COM\xB2", "lpt\xB3", "CONOUT$", "conin$", "C:\\WINDOWS\\NUL.LOG", "D:\\x\\lpt2.tar.gz",
          "\\\\server\\share\\Con ", "C:\\Logs\\aux .log.txt", "C:/Logs/AUX", "C:PRN",
          "\\\\.\\pipe\\w2ksetup"}) {
        EXPECT_TRUE(logging::NamesNoFileOfItsOwn(device)) << device;
    }
    // A folder's path, and names no file can have.
    for (const char* other : {"C:\\Logs\\", "C:", "C:\\*.log", "C:\\x.log:stream", "C:\\a|b"})
        EXPECT_TRUE(logging::NamesNoFileOfItsOwn(other)) << other;
    for (const char* file :
         {"C:\\WINDOWS\\w2ksetup.log", "C:\\CONSOLE.LOG", "C:\\COM10", "C:\\LPT", "C:\\NULL.TXT",
          "C:\\CON\\setup.log", "\\setup.log", "C:\\my logs\\x.con", "C:\\COMA.log"}) {
        EXPECT_FALSE(logging::NamesNoFileOfItsOwn(file)) << file;
    }
}

}  // namespace
