// Removing the previous application package through its uninstaller.
#include <gtest/gtest.h>

#include <optional>

#include "package/previous_package.h"
#include "support/setup_machine.h"

namespace {

using platform::RootKey;

constexpr const char* kAppsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio Applications";
constexpr const char* kNtAppsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio WinNT Applications";
constexpr const char* kUninstaller = "C:\\UNINST\\UNINST.EXE";

constexpr const char* kLongCommandFolder = "C:\\Program Files\\PCI Audio\\";
constexpr const char* kLongCommandProgram = "C:\\Program Files\\PCI Audio\\Uninst.exe";

// Registers, with its program, an uninstall command of `length` characters:
// the quoted program and a quoted file in its folder.
std::string RegisterCommandOfLength(SetupMachine& machine, std::size_t length)
{
    machine.files.AddFile(kLongCommandProgram, "uninstaller");
    std::string command = "\"" + std::string(kLongCommandProgram) + "\" -f\"" + kLongCommandFolder;
    command += std::string(length - command.size() - 1, 'x') + "\"";
    EXPECT_EQ(command.size(), length);
    machine.registry.PutString(RootKey::LocalMachine, kAppsKey, "InstallShieldUninstallString",
                               command);
    return command;
}

class PreviousPackage : public ::testing::Test {
protected:
    SetupMachine machine;

    PreviousPackage() { machine.files.AddFile(kUninstaller, "uninstaller"); }

    void Register(const char* key, const char* value, const std::string& command) {
        machine.registry.PutString(RootKey::LocalMachine, key, value, command);
    }
    std::vector<std::string> CommandLines() {
        std::vector<std::string> lines;
        for (const auto& started : machine.processes.Started())
            lines.push_back(started.commandLine);
        return lines;
    }
    void ExpectEverythingClosed() {
        EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
        EXPECT_EQ(machine.processes.OpenHandleCount(), 0u);
        EXPECT_EQ(machine.dialogs.WaitCursorDepth(), 0);
    }
};

TEST_F(PreviousPackage, FirstUninstallKeyWinsOverTheNtOne)
{
    Register(kAppsKey, "UninstallString", std::string(kUninstaller) + " first");
    Register(kNtAppsKey, "UninstallString", std::string(kUninstaller) + " second");
    UninstallPreviousPackage(machine.os());
    EXPECT_EQ(CommandLines(), std::vector<std::string>{std::string(kUninstaller) + " first -a"});
    auto opened = machine.log().Details("RegOpenKeyExA");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::string("HKLM\\") + kAppsKey + " 0x1");  // KEY_QUERY_VALUE
    ExpectEverythingClosed();
}

TEST_F(PreviousPackage, NtKeyIsUsedWhenTheFirstIsMissing)
{
    Register(kNtAppsKey, "UninstallString", kUninstaller);
    UninstallPreviousPackage(machine.os());
    EXPECT_EQ(CommandLines(), std::vector<std::string>{std::string(kUninstaller) + " -a"});
    EXPECT_EQ(machine.log().Details("RegOpenKeyExA"),
              (std::vector<std::string>{std::string("HKLM\\") + kAppsKey + " 0x1 (no key)",
                                        std::string("HKLM\\") + kNtAppsKey + " 0x1"}));
    ExpectEverythingClosed();
}

TEST_F(PreviousPackage, InstallShieldValueWinsOverTheUninstallString)
{
    Register(kAppsKey, "UninstallString", std::string(kUninstaller) + " plain");
    Register(kAppsKey, "InstallShieldUninstallString", std::string(kUninstaller) + " shield");
    UninstallPreviousPackage(machine.os());
    EXPECT_EQ(CommandLines(), std::vector<std::string>{std::string(kUninstaller) + " shield -a"});
    auto read = machine.log().Details("RegQueryValueExA");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_NE(read[0].find("InstallShieldUninstallString"), std::string::npos);
}

TEST_F(PreviousPackage, NothingRegisteredRunsNothing)
{
    UninstallPreviousPackage(machine.os());
    EXPECT_TRUE(machine.processes.Started().empty());
    EXPECT_EQ(machine.log().Count("BeginWaitCursor"), 0u);

    // A key without either value is closed again.
    machine.registry.PutString(RootKey::LocalMachine, kAppsKey, "DisplayName", "PCI Audio");
    UninstallPreviousPackage(machine.os());
    EXPECT_TRUE(machine.processes.Started().empty());
    EXPECT_EQ(machine.log().Count("RegQueryValueExA"), 2u);
    EXPECT_EQ(machine.log().Count("BeginWaitCursor"), 0u);
    ExpectEverythingClosed();
}

// An uninstall command stored as REG_EXPAND_SZ names its program through the
// environment: it runs expanded, with " -a" after the expansion. A REG_SZ
// command runs exactly as registered.
TEST_F(PreviousPackage, AnExpandableCommandRunsExpanded)
{
    machine.files.AddFile("C:\\WINDOWS\\IsUninst.exe", "uninstaller");
    machine.registry.PutValue(
        RootKey::LocalMachine, kAppsKey, "UninstallString",
        sim::SimRegValue{sim::kRegExpandSz,
                         std::string("%SystemRoot%\\IsUninst.exe -f\"%ProgramFiles%\\a.isu\"") +
                             '\0'});
    machine.processes.SetEnvironment("ProgramFiles", "C:\\Program Files");
    UninstallPreviousPackage(machine.os());
    EXPECT_EQ(CommandLines(),
              std::vector<std::string>{
                  "C:\\WINDOWS\\IsUninst.exe -f\"C:\\Program Files\\a.isu\" -a"});
    EXPECT_EQ(machine.processes.Started().at(0).image, "C:\\WINDOWS\\IsUninst.exe");

    SetupMachine plain;
    plain.files.AddFile("C:\\WINDOWS\\IsUninst.exe", "uninstaller");
    plain.registry.PutString(RootKey::LocalMachine, kAppsKey, "UninstallString",
                             "%SystemRoot%\\IsUninst.exe -f");
    UninstallPreviousPackage(plain.os());
    ASSERT_EQ(plain.processes.Started().size(), 0u);  // Windows finds no such program
    EXPECT_EQ(plain.log().Details("CreateProcessA"),
              std::vector<std::string>{"%SystemRoot%\\IsUninst.exe -f -a show=5 (not found)"});
}

// A command that fills the 260 bytes Windows programs usually give it, ones
// beyond, and the longest that leaves room for " -a" in the 32,767
// characters CreateProcessA takes with the terminating zero: the switch is
// appended to the whole text, which is started as it stands.
TEST_F(PreviousPackage, LongUninstallCommandsRunWhole)
{
    for (std::size_t length : {256u, 257u, 259u, 260u, 300u, 2000u, 32763u}) {
        SetupMachine fresh;
        const std::string command = RegisterCommandOfLength(fresh, length);
        UninstallPreviousPackage(fresh.os());
        ASSERT_EQ(fresh.processes.Started().size(), 1u) << length;
        EXPECT_EQ(fresh.processes.Started()[0].commandLine, command + " -a") << length;
        EXPECT_EQ(fresh.processes.Started()[0].image, kLongCommandProgram);
    }
}

// One character more and the command with its switch would not fit: it is
// not read, so no cut command is ever started.
TEST_F(PreviousPackage, ACommandWithNoRoomForTheSwitchIsNotRun)
{
    RegisterCommandOfLength(machine, 32764);
    UninstallPreviousPackage(machine.os());
    EXPECT_TRUE(machine.processes.Started().empty());
    EXPECT_EQ(machine.log().Count("BeginWaitCursor"), 0u);
    ExpectEverythingClosed();
}

TEST_F(PreviousPackage, UninstallerIsStartedShownWithTheWaitCursorUp)
{
    Register(kAppsKey, "UninstallString", kUninstaller);
    machine.processes.Define(kUninstaller, {3000, 200, true, 0, {}});
    UninstallPreviousPackage(machine.os());
    ASSERT_EQ(machine.processes.Started().size(), 1u);
    EXPECT_EQ(machine.processes.Started()[0].function, "CreateProcessA");
    EXPECT_EQ(machine.processes.Started()[0].show, platform::kShowShow);
    auto steps = machine.log().Sequence(
        {"BeginWaitCursor", "CreateProcessA", "CloseHandle", "EndWaitCursor", "RegCloseKey"});
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0], "BeginWaitCursor");
    EXPECT_EQ(steps[1].rfind("CreateProcessA", 0), 0u);
    EXPECT_EQ(steps[2], "CloseHandle process");
    EXPECT_EQ(steps[3], "EndWaitCursor");
    EXPECT_EQ(steps[4].rfind("RegCloseKey", 0), 0u);
    ExpectEverythingClosed();
}

TEST_F(PreviousPackage, UninstallerThatDoesNotStartIsNotWaitedFor)
{
    Register(kAppsKey, "UninstallString", "C:\\MISSING\\UNINST.EXE");
    UninstallPreviousPackage(machine.os());
    EXPECT_TRUE(machine.processes.Started().empty());
    EXPECT_EQ(machine.log().Count("WaitForInputIdle"), 0u);
    EXPECT_EQ(machine.log().Count("GetExitCodeProcess"), 0u);
    EXPECT_EQ(machine.log().Count("EndWaitCursor"), 1u);
    ExpectEverythingClosed();
}

// However the uninstaller behaves, the wait ends exactly when it does, and
// the installer looks at it about once a second, not in a tight loop: a
// console uninstaller, or one that sits idle, makes WaitForInputIdle return
// at once.
TEST_F(PreviousPackage, WaitEndsWithTheUninstallerWithoutSpinning)
{
    struct Case {
        const char* kind;
        sim::SimProgram program;
        std::size_t maxPolls;
    };
    const Case cases[] = {
        {"console program", {10000, 0, false, 0, {}}, 11},
        {"idle at once", {10000, 0, true, 0, {}}, 11},
        {"idle after a while", {10000, 2500, true, 0, {}}, 11},
        {"busy to its end", {10000, 20000, true, 0, {}}, 11},
        {"ends at an odd moment", {7321, 0, false, 0, {}}, 8},
        {"ends at once", {0, 0, false, 3, {}}, 1},
    };
    for (const Case& c : cases) {
        SetupMachine fresh;
        fresh.files.AddFile(kUninstaller, "uninstaller");
        fresh.registry.PutString(RootKey::LocalMachine, kAppsKey, "UninstallString", kUninstaller);
        fresh.processes.Define(kUninstaller, c.program);
        UninstallPreviousPackage(fresh.os());

        std::uint64_t endedAt = c.program.runsFor;
        // Unset until the cursor is ended: an uninstaller that ends at once
        // must not pass with a cursor that is never ended.
        std::optional<std::uint64_t> waitEnded;
        for (const sim::SimCall& call : fresh.log().Calls()) {
            if (call.function == "EndWaitCursor")
                waitEnded = call.time;
        }
        EXPECT_EQ(waitEnded, endedAt) << c.kind;
        EXPECT_EQ(fresh.dialogs.WaitCursorDepth(), 0) << c.kind;
        EXPECT_EQ(fresh.now(), endedAt) << c.kind;

        std::size_t exitCodeLooks = fresh.log().Count("GetExitCodeProcess");
        EXPECT_GE(exitCodeLooks, 1u) << c.kind;
        EXPECT_LE(exitCodeLooks, c.maxPolls) << c.kind;
        double seconds = endedAt / 1000.0;
        if (seconds > 0) {
            double perSecond = exitCodeLooks / seconds;
            EXPECT_LE(perSecond, 1.1) << c.kind;
            RecordProperty(std::string("polls_per_second_") + c.kind, std::to_string(perSecond));
        }
    }
}

// The simulation's own guard: a loop that asks a running process for its
// exit code with no time passing would spin forever; the run stops instead.
TEST(SimulatedProcesses, BusyPollingOfARunningProcessStopsTheRun)
{
    SetupMachine machine;
    machine.files.AddFile(kUninstaller, "uninstaller");
    machine.processes.Define(kUninstaller, {1000, 0, false, 0, {}});
    auto process = machine.processes.Start(kUninstaller, platform::kShowShow);
    ASSERT_TRUE(process);
    auto spin = [&] {
        while (machine.processes.ExitCode(*process) == platform::kStillActive)
            machine.processes.WaitForInputIdle(*process, 1000);
    };
    EXPECT_THROW(spin(), sim::SimHang);
}

}  // namespace
