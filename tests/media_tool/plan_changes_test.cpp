// What a plan says the runs changed: the SHA-256 of the bytes, the changes
// between two moments of a machine, their JSON in the form `w2kmedia try`
// gives a real run's, and the plan that follows a restart into the run its
// Run entry starts.
#include <gtest/gtest.h>

#include <algorithm>

#include "media_folder.h"
#include "media_tool/reports/change_report.h"
#include "media_tool/reports/plan_report.h"
#include "media_tool/reports/sha256.h"

namespace {

using Texts = std::vector<std::string>;
using platform::RootKey;

constexpr const char* kRunKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(Sha256, GivesTheStandardDigests)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the first block.
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Bytes above 0x7F count as themselves, not as negative chars.
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    EXPECT_EQ(Sha256Hex(everyByte),
              "40aff2e9d2d8922e47afd4648e6967497158785fbd1da870e7110266bf944880");
}

// Each change as the plan's text gives it.
Texts Summary(const std::vector<MachineChange>& changes)
{
    Texts lines;
    for (const MachineChange& change : changes)
        lines.push_back(ChangeText(change));
    return lines;
}

TEST(MachineChanges, FilesOfDriveCAndRegistryValuesWithTheirStates)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\WINDOWS\\kept.ini", "same");
    machine.files.AddFile("C:\\WINDOWS\\old.inf", "old");
    machine.files.AddFile("C:\\WINDOWS\\Mixer.exe", "old mixer");
    machine.registry.PutString(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                               "Gone", "C:\\gone.exe");
    machine.registry.PutString(RootKey::CurrentUser, "Software\\Quarnel", "Level", "1");
    const MachineSnapshot before(machine);

    machine.files.AddFile("C:\\Program Files\\Quarnel\\QNAUDIO.INF", "new");
    machine.files.Store("C:\\WINDOWS\\Mixer.exe", "new mixer");
    machine.files.Erase("C:\\WINDOWS\\old.inf");
    machine.files.AddFile("D:\\written.txt", "the media is not compared");
    machine.registry.PutString(RootKey::CurrentUser, "Software\\Quarnel", "Level", "2");
    machine.registry.PutValue(RootKey::CurrentUser, "Software\\Quarnel", "Count",
                              sim::SimRegValue{sim::kRegDword, std::string("\x05\x01\0\0", 4)});
    auto run = machine.os().registry.OpenKey(RootKey::LocalMachine,
                                             "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                             platform::RegAccess::AllAccess);
    ASSERT_TRUE(run.has_value());
    machine.os().registry.DeleteValue(*run, "Gone");
    // A value written again with the data it had is no change.
    machine.os().registry.SetString(*run, "Again", "x");
    machine.os().registry.DeleteValue(*run, "Again");
    machine.os().registry.CloseKey(*run);

    const std::vector<MachineChange> changes = ChangesBetween(before, MachineSnapshot(machine));
    EXPECT_EQ(Summary(changes),
              (Texts{"file added: C:\\Program Files\\Quarnel\\QNAUDIO.INF (3 bytes)",
                     "file changed: C:\\WINDOWS\\Mixer.exe (9 bytes)",
                     "file removed: C:\\WINDOWS\\old.inf",
                     "value added: HKCU\\Software\\Quarnel \"Count\" = REG_DWORD 261",
                     "value changed: HKCU\\Software\\Quarnel \"Level\" = REG_SZ \"2\"",
                     "value removed: " + std::string(kRunKey) + " \"Gone\" (was REG_SZ \"C:\\gone.exe\")"}));
    ASSERT_EQ(changes.size(), 6u);
    EXPECT_EQ(changes[1].before->bytes, "old mixer");
    EXPECT_EQ(changes[1].after->bytes, "new mixer");
    EXPECT_FALSE(changes[2].after.has_value());
    EXPECT_FALSE(changes[0].before.has_value());
}

TEST(MachineChanges, JsonTakesTheFormOfARunUnderWine)
{
    MachineChange file{MachineChange::Kind::File, "changed", "C:\\WINDOWS\\Mixer.exe", "",
                       MachineChange::State{"abc", 0}, MachineChange::State{"", 0}};
    EXPECT_EQ(ChangeJson(file),
              "{\"kind\": \"file\", \"change\": \"changed\", \"path\": \"C:\\\\WINDOWS\\\\Mixer.exe\", "
              "\"before\": {\"size\": 3, \"sha256\": "
              "\"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\"}, "
              "\"after\": {\"size\": 0, \"sha256\": "
              "\"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\"}}");

    // A string value's data is its text to the first zero.
    MachineChange run{MachineChange::Kind::Value, "added", kRunKey, "Replace Quarnel Mixer", {},
                      MachineChange::State{std::string("C:\\W2KSetup.exe -ReplaceMixer\0", 30), 1}};
    EXPECT_EQ(ChangeJson(run),
              "{\"kind\": \"value\", \"change\": \"added\", \"key\": "
              "\"HKLM\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\", \"name\": "
              "\"Replace Quarnel Mixer\", \"before\": null, \"after\": {\"type\": \"REG_SZ\", "
              "\"data\": \"C:\\\\W2KSetup.exe -ReplaceMixer\"}}");

    MachineChange binary{MachineChange::Kind::Value, "removed", "HKCU\\Software\\Quarnel", "Mask",
                         MachineChange::State{std::string("\x01\xff", 2), 3}, {}};
    EXPECT_NE(ChangeJson(binary).find("\"before\": {\"type\": \"REG_BINARY\", \"data\": \"01ff\"}, "
                                      "\"after\": null}"),
              std::string::npos);
    EXPECT_EQ(ChangeText(binary), "value removed: HKCU\\Software\\Quarnel \"Mask\" (was REG_BINARY 01ff)");
    EXPECT_EQ(RegistryTypeName(9), "type 9");
}

class WholePlan : public ::testing::Test {
protected:
    void SetUp() override { media.WriteSample(); }
    MediaFolder media;
};

const MachineChange* Changed(const MediaPlan& plan, const std::string& path)
{
    auto found = std::find_if(plan.changes.begin(), plan.changes.end(),
                              [&](const MachineChange& change) { return change.path == path; });
    return found == plan.changes.end() ? nullptr : &*found;
}

// Restart "yes": Windows restarts, its logon starts the Run entry, and that
// run swaps in the new mixer; the changes count both runs.
TEST_F(WholePlan, ARestartIsFollowedIntoTheRunFromTheRunKey)
{
    media.Write("WinXP\\drv\\Mixer.dat", "MZ the new mixer");
    PlanSetup setup;
    setup.answers.applications = false;
    const MediaPlan plan = PlanWholeFolder(media, "", setup);
    EXPECT_EQ(plan.run.route, "main-dialog");
    EXPECT_TRUE(plan.run.rebootRequested);
    ASSERT_EQ(plan.afterRestart.size(), 1u);
    const PlanResult& restarted = plan.afterRestart[0];
    EXPECT_EQ(restarted.route, "replace-mixer");
    EXPECT_EQ(restarted.commandLine, "-ReplaceMixer");
    EXPECT_EQ(EventsOf(restarted, "start"),
              Texts{"C:\\WINDOWS\\Mixer.exe /startup  (in C:\\WINDOWS\\system32, SW_HIDE)"});

    const MachineChange* mixer = Changed(plan, "C:\\WINDOWS\\Mixer.exe");
    ASSERT_NE(mixer, nullptr) << "the mixer the run after the restart put in place";
    EXPECT_EQ(mixer->change, "added");
    EXPECT_EQ(mixer->after->bytes, "MZ the new mixer");
    const MachineChange* inf = Changed(plan, "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF");
    ASSERT_NE(inf, nullptr);
    EXPECT_EQ(inf->after->bytes, MediaFolder::DriverInf());
    for (const MachineChange& change : plan.changes)
        EXPECT_NE(change.name, "Replace Quarnel Mixer") << "set, then deleted after the restart";

    const std::string json = PlanJson(plan);
    EXPECT_NE(json.find(",\n \"restart_runs\": [{\"windows\": \"xp\", \"command_line\": "
                        "\"-ReplaceMixer\", \"route\": \"replace-mixer\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\n  {\"kind\": \"file\", \"change\": \"added\", \"path\": "
                        "\"C:\\\\WINDOWS\\\\Mixer.exe\", \"before\": null, \"after\": {\"size\": 16, "
                        "\"sha256\": \"" + Sha256Hex("MZ the new mixer") + "\"}}"),
              std::string::npos);
    const std::string text = PlanText(plan);
    EXPECT_NE(text.find("\nAfter the restart, Windows starts the Run entry:\nWindows XP, "
                        "C:\\WINDOWS\\W2KSetup.exe with \"-ReplaceMixer\": route replace-mixer\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nWhat the runs changed on drive C: and in the registry:\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n  file added: C:\\WINDOWS\\Mixer.exe (16 bytes)\n"), std::string::npos);
}

// The installer starts behind its log on request, in a plan as on Windows:
// setup.ini's "LogFile" makes the run write its log in the Windows directory.
TEST_F(WholePlan, ALogAskedForBySetupIniIsWritten)
{
    media.Write("setup.ini", "[InstallOption]\r\nWebSetup=0\r\nLogFile=setup.log\r\n");
    PlanSetup setup;
    setup.answers.restart = false;
    const MediaPlan plan = PlanWholeFolder(media, "/DRIVER", setup);
    const MachineChange* log = Changed(plan, "C:\\WINDOWS\\setup.log");
    ASSERT_NE(log, nullptr) << PlanText(plan);
    EXPECT_EQ(log->change, "added");
    EXPECT_NE(log->after->bytes.find("Command line:  \"/DRIVER\""), std::string::npos);
    EXPECT_NE(log->after->bytes.find("Outcome: Driver updated on the present device; restart "
                                     "declined."),
              std::string::npos)
        << log->after->bytes;
}

TEST_F(WholePlan, WithoutARestartThereIsOneRunAndItsOwnChanges)
{
    PlanSetup setup;
    setup.answers.restart = false;
    const MediaPlan declined = PlanWholeFolder(media, "/DRIVER", setup);
    EXPECT_FALSE(declined.run.rebootRequested);
    EXPECT_TRUE(declined.afterRestart.empty());
    const MachineChange* run = nullptr;
    for (const MachineChange& change : declined.changes) {
        if (change.name == "Replace Quarnel Mixer")
            run = &change;
    }
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->after->bytes.substr(0, run->after->bytes.find('\0')),
              "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
    EXPECT_NE(PlanJson(declined).find("\"restart_runs\": [],"), std::string::npos);

    // The run after the restart: the changes count from the end of the
    // /DRIVER run before it, so its staging is not among them.
    const MediaPlan replaced = PlanWholeFolder(media, "-ReplaceMixer");
    EXPECT_TRUE(replaced.afterRestart.empty());
    EXPECT_EQ(Summary(replaced.changes),
              (Texts{"file added: C:\\WINDOWS\\Mixer.exe (8 bytes)",
                     "value removed: " + std::string(kRunKey) +
                         " \"Replace Quarnel Mixer\" (was REG_SZ \"C:\\WINDOWS\\W2KSetup.exe "
                         "-ReplaceMixer\")"}));
}

// A jack box clicked while checked stays checked: the dialog checks it again,
// and the answer says so.
TEST_F(WholePlan, TheAnswerGivesTheStateTheDialogLeavesABoxIn)
{
    MediaFolder web;
    web.WriteWebSetup("WebSetup=1\r\nInstallWDMDriver=1\r\n");
    PlanSetup setup;
    setup.answers.jacks = {Jack::Rear, Jack::MicSub};
    setup.answers.soundCard = true;
    setup.answers.restart = false;
    const PlanResult plan = PlanFolder(web, "", setup);
    EXPECT_EQ(EventsOf(plan, "dialog")[0],
              "131 \"PCI Audio Device Driver Setup Program for Windows 2000\", answered: "
              "Line-in and rear speaker output share the same jack. (checked), "
              "Microphone and Subwoofer share the same jack. (checked), "
              "5740 in sound card (rear speakers jack individually) (checked), Install");
}

}  // namespace
