// The simulated Windows must answer as Windows does where the installer's
// behaviour depends on it; these cases pin the rules down.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "sim/sim_machine.h"

namespace {

using platform::RootKey;

TEST(SimProfiles, WindowsRulesForReading)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\setup.ini",
                          "; comment\r\n[installoption]\r\n  webSETUP =  2  \r\n"
                          "Name=\"quoted value\"\r\nNumber=12abc\r\nNeg=-3\r\nWord=abc\r\n");
    auto& profiles = machine.os().profiles;
    EXPECT_EQ(profiles.GetInt("InstallOption", "WebSetup", 9, "D:\\setup.ini"), 2);
    EXPECT_EQ(profiles.GetInt("InstallOption", "Missing", 9, "D:\\setup.ini"), 9);
    EXPECT_EQ(profiles.GetInt("InstallOption", "Number", 9, "D:\\setup.ini"), 12);
    EXPECT_EQ(profiles.GetInt("InstallOption", "Neg", 9, "D:\\setup.ini"), -3);
    EXPECT_EQ(profiles.GetInt("InstallOption", "Word", 9, "D:\\setup.ini"), 0);
    EXPECT_EQ(profiles.GetInt("InstallOption", "WebSetup", 9, "D:\\none.ini"), 9);
    EXPECT_EQ(profiles.GetString("InstallOption", "Name", "", 64, "D:\\setup.ini"), "quoted value");
    EXPECT_EQ(profiles.GetString("InstallOption", "Name", "", 7, "D:\\setup.ini"), "quoted");
    EXPECT_EQ(profiles.GetString("Other", "Name", "dflt", 64, "D:\\setup.ini"), "dflt");
}

TEST(SimProfiles, WritesCreateFileSectionAndKeyAndBareNamesMeanTheWindowsDirectory)
{
    sim::SimMachine machine;
    auto& profiles = machine.os().profiles;
    EXPECT_TRUE(profiles.WriteString("A", "k", "1", "X.INI"));
    EXPECT_TRUE(profiles.WriteString("B", "k", "2", "X.INI"));
    EXPECT_TRUE(profiles.WriteString("a", "K", "3", "X.INI"));
    EXPECT_TRUE(profiles.WriteString("A", "n", "", "X.INI"));
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\X.INI"), "[A]\r\nk=3\r\nn=\r\n[B]\r\nk=2\r\n");
    // No folder, no file.
    EXPECT_FALSE(profiles.WriteString("A", "k", "1", "Q:\\none\\x.ini"));
}

TEST(SimProcesses, UnquotedCommandsFindTheFirstProgramUpToABlank)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\Program Files\\App\\Setup.exe", "");
    auto& processes = machine.processes;
    EXPECT_EQ(processes.ResolveImage("C:\\Program Files\\App\\Setup.exe -a"),
              "C:\\Program Files\\App\\Setup.exe");
    machine.files.AddFile("C:\\Program.exe", "");
    EXPECT_EQ(processes.ResolveImage("C:\\Program Files\\App\\Setup.exe -a"), "C:\\Program.exe");
    EXPECT_EQ(processes.ResolveImage("\"C:\\Program Files\\App\\Setup.exe\" -a"),
              "C:\\Program Files\\App\\Setup.exe");
    EXPECT_EQ(processes.ResolveImage("C:\\Program Files\\App\\Setup -a"), "C:\\Program.exe");
    EXPECT_FALSE(processes.ResolveImage("C:\\None.exe"));
}

TEST(SimProcesses, LifetimesRunOnTheVirtualClock)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\u.exe", "");
    machine.processes.Define("C:\\u.exe", sim::SimProgram{2500, 300, true, 7, nullptr});
    auto process = machine.os().processes.Start("C:\\u.exe", platform::kShowShow);
    ASSERT_TRUE(process);
    auto& processes = machine.os().processes;
    EXPECT_EQ(processes.WaitForInputIdle(*process, 1000), 0u);
    EXPECT_EQ(machine.now(), 300u);
    EXPECT_EQ(processes.ExitCode(*process), platform::kStillActive);
    EXPECT_EQ(processes.WaitForExit(*process, 1000), platform::kWaitTimeout);
    EXPECT_EQ(machine.now(), 1300u);
    EXPECT_EQ(processes.WaitForExit(*process, 5000), platform::kWaitObject0);
    EXPECT_EQ(machine.now(), 2500u);
    EXPECT_EQ(processes.ExitCode(*process), 7u);
}

TEST(SimFiles, CopiesKeepAttributesAndDoNotOverwriteReadOnlyFiles)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\a.inf", "new", platform::kAttributeReadOnly);
    machine.files.AddFile("C:\\t\\a.inf", "old", platform::kAttributeReadOnly);
    auto& files = machine.os().files;
    EXPECT_FALSE(files.Copy("D:\\a.inf", "c:\\T\\A.INF", false));
    EXPECT_FALSE(files.Remove("C:\\t\\a.inf"));
    EXPECT_TRUE(files.SetAttributes("C:\\t\\a.inf", platform::kAttributeNormal));
    EXPECT_TRUE(files.Copy("D:\\a.inf", "c:\\T\\A.INF", false));
    EXPECT_EQ(machine.files.Read("C:\\t\\a.inf"), "new");
    EXPECT_EQ(machine.files.Attributes("C:\\t\\a.inf"), platform::kAttributeReadOnly);
    EXPECT_FALSE(files.Copy("D:\\a.inf", "C:\\missing\\a.inf", false));
    EXPECT_FALSE(files.Copy("D:\\a.inf", "C:\\t\\a.inf", true));
}

TEST(SimFiles, AReadOnlyDriveRefusesEveryWriteButReads)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\dir\\a.inf", "cd");
    machine.files.AddFile("C:\\b.inf", "disk");
    machine.files.readOnlyDrives = {"d:"};
    auto& files = machine.os().files;
    // The call fails and leaves access denied as the last error.
    auto refused = [&machine](auto call) {
        machine.context.lastError = 0;
        return !call() && machine.context.lastError == sim::error::kAccessDenied;
    };
    EXPECT_TRUE(refused([&] { return files.Copy("C:\\b.inf", "D:\\dir\\b.inf", false); }));
    EXPECT_TRUE(refused([&] { return files.Copy("C:\\b.inf", "D:\\dir\\a.inf", false); }));
    EXPECT_TRUE(refused([&] { return files.Remove("D:\\dir\\a.inf"); }));
    EXPECT_TRUE(refused([&] { return files.MakeDirectory("D:\\new"); }));
    EXPECT_TRUE(refused(
        [&] { return files.SetAttributes("D:\\dir\\a.inf", platform::kAttributeNormal); }));
    EXPECT_EQ(files.OpenForUpdate("D:\\dir\\a.inf"), nullptr);
    EXPECT_FALSE(machine.files.Store("D:\\dir\\a.inf", "changed"));
    EXPECT_EQ(machine.files.FilesBelow("D:\\"), std::vector<std::string>{"D:\\dir\\a.inf"});
    EXPECT_EQ(machine.files.Read("D:\\dir\\a.inf"), "cd");
    EXPECT_EQ(machine.files.Attributes("D:\\dir\\a.inf"), platform::kAttributeArchive);
    EXPECT_FALSE(machine.files.Exists("D:\\new"));

    EXPECT_TRUE(files.OpensForReading("D:\\dir\\a.inf"));
    EXPECT_TRUE(files.Copy("D:\\dir\\a.inf", "C:\\a.inf", false));
    EXPECT_EQ(machine.files.Read("C:\\a.inf"), "cd");
}

// CreateDirectoryA's refusals leave their own error, as the install log shows it.
TEST(SimFiles, AFolderThatCannotBeMadeSaysWhy)
{
    sim::SimMachine machine;
    machine.files.AddFolder("C:\\Program Files");
    auto& files = machine.os().files;
    machine.context.lastError = 0;
    EXPECT_FALSE(files.MakeDirectory("C:\\Program Files\\"));
    EXPECT_EQ(machine.context.lastError, sim::error::kAlreadyExists);
    machine.context.lastError = 0;
    EXPECT_FALSE(files.MakeDirectory("C:\\Missing\\Quarnel\\"));
    EXPECT_EQ(machine.context.lastError, sim::error::kPathNotFound);
    EXPECT_FALSE(machine.files.Exists("C:\\Missing\\Quarnel"));
}

// The C runtime leaves a read right after a write, and a write right after a
// read, undefined; a call that breaks the rule stops the run.
TEST(SimFiles, AStreamSwitchesBetweenReadAndWriteOnlyAsTheCRuntimeAllows)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\f.txt", "abc");
    auto stream = machine.os().files.OpenForUpdate("C:\\f.txt");
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(stream->PutByte('x'));
    EXPECT_THROW(stream->GetByte(), sim::SimScriptError);
    stream->Flush();
    EXPECT_EQ(stream->GetByte(), 'b');
    EXPECT_THROW(stream->PutByte('y'), sim::SimScriptError);  // fflush is not enough here
    ASSERT_TRUE(stream->Seek(2));
    ASSERT_TRUE(stream->PutByte('z'));
    // A seek that failed stands between nothing.
    machine.faults.Fail("fseek");
    EXPECT_FALSE(stream->Seek(0));
    EXPECT_THROW(stream->GetByte(), sim::SimScriptError);
    ASSERT_TRUE(stream->Seek(0));
    EXPECT_EQ(stream->GetByte(), 'x');
    // A read that meets the end of the file may be followed by a write.
    ASSERT_TRUE(stream->SeekToEnd());
    EXPECT_EQ(stream->GetByte(), -1);
    EXPECT_TRUE(stream->PutByte('!'));
    stream->Close();
    EXPECT_EQ(machine.files.Read("C:\\f.txt"), "xbz!");
}

TEST(SimFiles, SearchesReturnDotsFoldersAndWildcardMatchesWithoutCase)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\m\\b.INF", "");
    machine.files.AddFile("C:\\m\\a.inf", "");
    machine.files.AddFile("C:\\m\\README", "");
    machine.files.AddFolder("C:\\m\\sub");
    auto names = [&](const std::string& pattern) {
        std::vector<std::string> found;
        auto search = machine.os().files.Find(pattern);
        platform::FoundFile file;
        while (search && search->Next(file))
            found.push_back(file.name);
        return found;
    };
    EXPECT_EQ(names("C:\\m\\*.*"),
              (std::vector<std::string>{".", "..", "a.inf", "b.INF", "README", "sub"}));
    EXPECT_EQ(names("C:\\M\\*.inf"), (std::vector<std::string>{"a.inf", "b.INF"}));
    EXPECT_EQ(names("C:\\m\\?.INF"), (std::vector<std::string>{"a.inf", "b.INF"}));
    EXPECT_TRUE(names("C:\\m\\x*.inf").empty());
    EXPECT_TRUE(names("C:\\none\\*.*").empty());
}

TEST(SimFiles, RelativePathsFollowTheCurrentDirectory)
{
    sim::SimMachine machine;
    machine.files.AddFolder("D:\\TEMP\\AUDIO");
    machine.files.SetCurrent("D:\\TEMP");
    EXPECT_EQ(machine.files.FullPath("D:AUDIO\\x"), "D:\\TEMP\\AUDIO\\x");
    EXPECT_EQ(machine.files.FullPath("\\AUDIO\\x"), "D:\\AUDIO\\x");
    EXPECT_EQ(machine.files.FullPath("AUDIO\\..\\y"), "D:\\TEMP\\y");
    EXPECT_EQ(machine.files.FullPath("C:x"), "C:\\x");
}

TEST(SimRegistry, ValuesLargerThanTheBufferDoNotReadAndDataNeedNoTerminator)
{
    sim::SimMachine machine;
    machine.registry.PutValue(RootKey::CurrentUser, "K", "V", sim::SimRegValue{sim::kRegSz, "abcd"});
    auto key = machine.os().registry.OpenKey(RootKey::CurrentUser, "k",
                                             platform::RegAccess::QueryValue);
    ASSERT_TRUE(key);
    auto read = machine.os().registry.QueryString(*key, "v", 4);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, "abcd");
    EXPECT_EQ(read->type, platform::kRegSz);
    EXPECT_FALSE(machine.os().registry.QueryString(*key, "v", 3));
    EXPECT_FALSE(machine.os().registry.SetString(*key, "w", "x"));  // opened for reading
    machine.os().registry.CloseKey(*key);
    EXPECT_FALSE(machine.os().registry.OpenKey(RootKey::CurrentUser, "K\\none",
                                               platform::RegAccess::AllAccess));
}

TEST(SimRegistry, AnExpandableStringKeepsItsType)
{
    sim::SimMachine machine;
    machine.registry.PutValue(RootKey::LocalMachine, "K", "V",
                              sim::SimRegValue{sim::kRegExpandSz, std::string("%windir%\\x", 11) + '\0'});
    auto key = machine.os().registry.OpenKey(RootKey::LocalMachine, "K",
                                             platform::RegAccess::QueryValue);
    ASSERT_TRUE(key);
    auto read = machine.os().registry.QueryString(*key, "V", 260);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, "%windir%\\x");
    EXPECT_EQ(read->type, platform::kRegExpandSz);
    machine.os().registry.CloseKey(*key);
}

// ExpandEnvironmentStringsA: known names become their values, without case;
// anything else stays as written, and a '%' that opens no known name may
// still close one.
TEST(SimEnvironment, ExpandsKnownNamesAndLeavesTheRest)
{
    sim::SimMachine machine;
    machine.processes.SetEnvironment("ProgramFiles", "C:\\Program Files");
    platform::Processes& processes = machine.os().processes;
    EXPECT_EQ(processes.ExpandEnvironment("%SystemRoot%\\IsUninst.exe -f"),
              "C:\\WINDOWS\\IsUninst.exe -f");
    EXPECT_EQ(processes.ExpandEnvironment("%PROGRAMFILES%\\a;%windir%"),
              "C:\\Program Files\\a;C:\\WINDOWS");
    EXPECT_EQ(processes.ExpandEnvironment("%unknown%\\x %"), "%unknown%\\x %");
    EXPECT_EQ(processes.ExpandEnvironment("100%%windir%"), "100%C:\\WINDOWS");
    EXPECT_EQ(processes.ExpandEnvironment("%%"), "%%");
    EXPECT_EQ(processes.ExpandEnvironment("no references"), "no references");
}

// A search matches its mask against the long name and the 8.3 name.
TEST(SimFiles, SearchesMatchShortNamesToo)
{
    EXPECT_EQ(sim::ShortNameOf("QN5740.INFO"), "QN5740~1.INF");
    EXPECT_EQ(sim::ShortNameOf("oem12.inf"), "OEM12.INF");
    EXPECT_EQ(sim::ShortNameOf("Read Me Please.txt"), "README~1.TXT");
    EXPECT_EQ(sim::ShortNameOf("a.b.c"), "AB~1.C");
    EXPECT_EQ(sim::ShortNameOf("LONGFILENAME"), "LONGFI~1");

    sim::SimMachine machine;
    machine.files.AddFile("C:\\X\\QN5740.INFO", "");
    machine.files.AddFile("C:\\X\\QN5740.INF", "");
    machine.files.AddFile("C:\\X\\QN5740.IN", "");
    auto search = machine.os().files.Find("C:\\X\\QN*.INF");
    ASSERT_TRUE(search);
    std::vector<std::string> names;
    platform::FoundFile found;
    while (search->Next(found))
        names.push_back(found.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"QN5740.INF", "QN5740.INFO"}));
}

// WM_INITDIALOG answered TRUE lets the dialog manager focus the first
// control in template order that is a tab stop, visible and enabled.
TEST(SimDialogs, InitialFocusGoesToTheFirstUsableTabStopWhenTheHandlerAsksForIt)
{
    class Events : public platform::DialogEvents {
    public:
        Events(sim::SimMachine& machine, bool answer) : m_machine(machine), m_answer(answer) {}
        void Attached(platform::WindowHandle dialog) override { m_dialog = dialog; }
        bool InitDialog() override
        {
            m_machine.os().dialogs.ShowItem(m_dialog, 3, false);
            m_machine.os().dialogs.EnableItem(m_dialog, 4, false);
            return m_answer;
        }
        void Command(int id, int) override { m_machine.os().dialogs.EndDialog(m_dialog, id); }
        bool SysCommand(unsigned, long) override { return false; }
        bool Paint() override { return false; }
        platform::IconHandle QueryDragIcon() override { return platform::IconHandle::None; }

    private:
        sim::SimMachine& m_machine;
        bool m_answer;
        platform::WindowHandle m_dialog{};
    };

    for (bool answer : {true, false}) {
        sim::SimMachine machine;
        sim::SimTemplate layout;
        layout.controls = {{2, sim::SimControlKind::Static, false, false},
                           {3, sim::SimControlKind::CheckBox, false, true},  // hidden
                           {4, sim::SimControlKind::CheckBox, false, true},  // disabled
                           {5, sim::SimControlKind::RadioButton, true, false},
                           {6, sim::SimControlKind::CheckBox, false, true},
                           {1, sim::SimControlKind::PushButton, false, true}};
        machine.dialogs.DefineTemplate(100, layout);
        std::optional<int> focus;
        machine.dialogs.Expect(100, [&](sim::SimDialog& dialog) {
            focus = dialog.Focus();
            dialog.PressOk();
        });
        Events events(machine, answer);
        machine.os().dialogs.RunModal(100, platform::kNoWindow, events);
        EXPECT_EQ(focus, answer ? std::optional<int>(6) : std::nullopt);
    }
}

}  // namespace
