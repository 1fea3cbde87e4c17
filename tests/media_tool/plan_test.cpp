// plan on each row of the dispatch, with the device states and answers that
// change a run: the route, and the events the native tests pin for that row.
#include <gtest/gtest.h>

#include <algorithm>

#include "media_folder.h"
#include "media_tool/reports/plan_report.h"

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kRunKey = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kNotice =
    "\"The driver will be installed now. It need a few minutes to complete.\" (caption "
    "\"Setup\"), answered OK";

PlanSetup On(const char* windows)
{
    PlanSetup setup;
    setup.windows = *FindWindows(windows);
    return setup;
}

std::vector<std::uint64_t> Sleeps(const PlanResult& plan)
{
    std::vector<std::uint64_t> sleeps;
    for (const PlanEvent& event : plan.events) {
        if (event.kind == "sleep")
            sleeps.push_back(std::stoull(event.Field("ms")));
    }
    return sleeps;
}

bool Contains(const Texts& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class Plan : public ::testing::Test {
protected:
    void SetUp() override { media.WriteSample(); }
    MediaFolder media;
};

TEST_F(Plan, OlderWindowsHandOverToTheMediaSetup)
{
    const struct {
        const char* windows;
        const char* commandLine;
        const char* driverOnly;
        const char* started;
    } cases[] = {
        {"95", "", "0", "D:\\Setup.exe  (in D:\\, SW_SHOW)"},
        {"98", "/ap", "1", "D:\\Setup.exe /AP  (in D:\\, SW_SHOW)"},  // the AP test wins
        {"me", "", "1", "D:\\Setup.exe /DRIVER  (in D:\\, SW_SHOW)"},
        {"nt4", "driver", "0", "D:\\Setup.exe /DRIVER  (in D:\\, SW_SHOW)"},
    };
    for (const auto& c : cases) {
        media.Write("setup.ini", std::string("[InstallOption]\r\nDriverOnly=") + c.driverOnly);
        const PlanResult plan = PlanFolder(media, c.commandLine, On(c.windows));
        EXPECT_EQ(plan.route, "hand-over");
        EXPECT_EQ(EventsOf(plan, "start"), Texts{c.started}) << c.windows;
        EXPECT_TRUE(EventsOf(plan, "dialog").empty());
    }
}

TEST_F(Plan, ApplicationsOnlyStartThePackageAndEndTheProcess)
{
    const PlanResult plan = PlanFolder(media, "/AP", On("xp"));
    EXPECT_EQ(plan.route, "package");
    EXPECT_EQ(plan.exitCode, 0);
    EXPECT_EQ(EventsOf(plan, "start"), Texts{"D:\\W2K-ME\\app\\Setup.exe  (in D:\\W2K-ME, SW_SHOW)"});
    EXPECT_TRUE(EventsOf(plan, "ini-write").size() == 1u) << "only the CD player setting";
    EXPECT_EQ(Sleeps(plan), (std::vector<std::uint64_t>{500}));
}

// The driver switch on XP with the device present: WinXP\drv\ staged, the
// mixer replacement registered, the update, the mixers after some seconds,
// the restart prompt and the reboot.
TEST_F(Plan, TheDriverSwitchInstallsFromTheXpFolderAndRestarts)
{
    const PlanResult plan = PlanFolder(media, "/DRIVER", On("xp"));
    EXPECT_EQ(plan.route, "driver-switch");
    EXPECT_EQ(EventsOf(plan, "message"), Texts{kNotice});
    const Texts copies = EventsOf(plan, "copy");
    EXPECT_TRUE(Contains(copies, "D:\\WinXP\\drv\\QNAUDIO.INF -> C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF"));
    EXPECT_TRUE(Contains(copies, "D:\\WinXP\\drv\\W2KSetup.dat -> C:\\WINDOWS\\W2KSetup.exe"));
    EXPECT_TRUE(Contains(copies, "D:\\Dosdrv\\QNSBDRV.COM -> C:\\Program Files\\Quarnel\\DOS\\QNSBDRV.COM"));
    EXPECT_EQ(EventsOf(plan, "reg-set"),
              Texts{std::string(kRunKey) +
                    " \"Replace Quarnel Mixer\" = REG_SZ \"C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer\""});
    EXPECT_EQ(EventsOf(plan, "device"),
              Texts{"update: updated (C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF)"});
    // Polls every 3 s until the mixers appear 4 s after the update, then 5 s.
    EXPECT_EQ(Sleeps(plan), (std::vector<std::uint64_t>{3000, 3000, 5000}));
    EXPECT_EQ(EventsOf(plan, "dialog"), Texts{"132 \"Restarting Windows\", answered: OK"});
    EXPECT_TRUE(plan.rebootRequested);
    EXPECT_EQ(plan.virtualMs, 11000u);
}

TEST_F(Plan, TheDeviceStatesChangeTheUpdateAndTheWait)
{
    PlanSetup setup = On("2000");
    setup.device = DeviceState::Absent;
    PlanResult absent = PlanFolder(media, "/DRIVER", setup);
    EXPECT_EQ(EventsOf(absent, "device"),
              (Texts{"register INF: copied as C:\\WINDOWS\\INF\\oem0.inf (C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF)",
                     "set source list: set", "re-enumerate: done"}));
    EXPECT_EQ(Sleeps(absent).size(), 11u) << "ten polls of 3 s without a mixer, then 5 s";
    EXPECT_TRUE(Contains(EventsOf(absent, "copy"),
                         "D:\\W2K-ME\\drv\\QNAUDIO.INF -> C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF"));

    setup.device = DeviceState::Fails;
    PlanResult fails = PlanFolder(media, "/DRIVER", setup);
    EXPECT_EQ(EventsOf(fails, "device")[0], "update: failed (C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF)");
    EXPECT_EQ(EventsOf(fails, "device")[1], "remove: removed");
    EXPECT_EQ(Sleeps(fails), (std::vector<std::uint64_t>{3000, 3000, 5000}));

    setup.device = DeviceState::Reboot;
    PlanResult reboot = PlanFolder(media, "/DRIVER", setup);
    EXPECT_EQ(EventsOf(reboot, "device"),
              Texts{"update: updated, restart needed (C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF)"});
    EXPECT_EQ(Sleeps(reboot), (std::vector<std::uint64_t>{10000}));
}

TEST_F(Plan, TheMainDialogAnsweredWithEnterStartsThePackageAndPassesTheDriverOn)
{
    const PlanResult plan = PlanFolder(media, "", On("xp"));
    EXPECT_EQ(plan.route, "main-dialog");
    EXPECT_EQ(EventsOf(plan, "dialog"),
              Texts{"102 \"PCI Audio Device Driver And Applications Setup Program\", answered: OK"});
    EXPECT_EQ(EventsOf(plan, "ini-write"),
              (Texts{"C:\\WINDOWS\\QNCDPLAY.INI [CD PLAYER] UsingCDDA=0",
                     "C:\\WINDOWS\\QNISETUP.INI [Need_To_Reboot] Install=NO",
                     "C:\\WINDOWS\\QNISETUP.INI [Need_To_InstallDriver] Install=YES",
                     "C:\\WINDOWS\\QNISETUP.INI [Need_To_InstallDriver] Command=D:\\Setup.exe"}));
    EXPECT_TRUE(EventsOf(plan, "device").empty());
    EXPECT_FALSE(plan.rebootRequested);
}

TEST_F(Plan, TheMainDialogAnswersChooseWhatIsInstalled)
{
    PlanSetup setup = On("2000");
    setup.answers.applications = false;
    setup.answers.restart = false;
    const PlanResult driverOnly = PlanFolder(media, "", setup);
    EXPECT_EQ(EventsOf(driverOnly, "dialog"),
              (Texts{"102 \"PCI Audio Device Driver And Applications Setup Program\", answered: "
                     "Install Applications (cleared), OK",
                     "132 \"Restarting Windows\", answered: No, I will restart my computer "
                     "later. (checked), OK"}));
    EXPECT_TRUE(Contains(EventsOf(driverOnly, "copy"),
                         "D:\\W2K-ME\\drv\\qnaudio.sys -> C:\\Program Files\\Quarnel\\WIN_ME\\qnaudio.sys"));
    EXPECT_FALSE(driverOnly.rebootRequested);

    // Both boxes cleared leave OK disabled: the user can only cancel.
    setup.answers.driver = false;
    const PlanResult nothing = PlanFolder(media, "", setup);
    EXPECT_EQ(EventsOf(nothing, "dialog"),
              Texts{"102 \"PCI Audio Device Driver And Applications Setup Program\", answered: "
                    "Install Applications (cleared), Install Device Driver (cleared), Cancel"});
    EXPECT_TRUE(EventsOf(nothing, "start").empty());

    setup.answers = UserAnswers();
    setup.answers.cancel = true;
    const PlanResult cancelled = PlanFolder(media, "", setup);
    EXPECT_EQ(EventsOf(cancelled, "dialog"),
              Texts{"102 \"PCI Audio Device Driver And Applications Setup Program\", answered: Cancel"});
    EXPECT_EQ(cancelled.events.back().kind, "file-test") << "its look for the package, no more";
}

TEST_F(Plan, TheWindows2000DialogPatchesTheStagedInfWithTheAnswers)
{
    MediaFolder web;
    web.WriteWebSetup("WebSetup=1\r\nInstallWDMDriver=1\r\n");
    PlanSetup setup = On("xp");
    setup.answers.jacks = {Jack::Centre};
    setup.answers.disableLegacy = true;
    const PlanResult plan = PlanFolder(web, "", setup);
    EXPECT_EQ(plan.route, "win2000-dialog");
    // Offset 48 of each option line: legacy disabled is 2, line-in on the
    // centre jack is configuration 2.
    const std::string inf = MediaFolder::DriverInf();
    const std::string legacyAt = std::to_string(inf.find("HKR,\"Settings\",\"EnableLegacy\"") + 48);
    const std::string jackAt = std::to_string(inf.find("HKR,\"Settings\",\"JackConfig\"") + 48);
    const std::string staged = "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF";
    EXPECT_EQ(EventsOf(plan, "patch"), (Texts{staged + " at byte " + legacyAt + " = '2'",
                                             staged + " at byte " + jackAt + " = '2'"}));
    EXPECT_TRUE(Contains(EventsOf(plan, "copy"), "D:\\W2KSetup.exe -> C:\\Program Files\\Quarnel\\WIN_ME\\W2KSetup.exe"));
    EXPECT_TRUE(EventsOf(plan, "reg-set").empty()) << "this variant registers no mixer replacement";
    EXPECT_EQ(EventsOf(plan, "device")[0], "remove: removed") << "always the forced reinstall";
}

TEST_F(Plan, WebSetUpsWithoutADialog)
{
    MediaFolder web;
    web.WriteWebSetup("WebSetup=1\r\n");
    const PlanResult nothing = PlanFolder(web, "/DRIVER", On("xp"));
    EXPECT_EQ(nothing.route, "web-nothing");
    EXPECT_EQ(nothing.events.size(), 1u) << "only the CD player setting";

    web.Write("setup.ini", "[InstallOption]\r\nWebSetup=2\r\n");
    const PlanResult silent = PlanFolder(web, "/AP", On("2000"));
    EXPECT_EQ(silent.route, "web-silent");
    EXPECT_EQ(EventsOf(silent, "message"), Texts{kNotice});
    EXPECT_TRUE(EventsOf(silent, "dialog").size() == 1u) << "the restart prompt only";
    EXPECT_TRUE(Contains(EventsOf(silent, "reg-set"),
                         std::string(kRunKey) + " \"Replace Quarnel Mixer\" = REG_SZ \"C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer\""));
}

TEST_F(Plan, TheUnattendedRunShowsNothingAndEndsWithItsExitCode)
{
    const PlanResult plan = PlanFolder(media, "/S", On("xp"));
    EXPECT_EQ(plan.route, "silent");
    EXPECT_EQ(plan.exitCode, 3010);
    EXPECT_TRUE(EventsOf(plan, "message").empty());
    EXPECT_TRUE(EventsOf(plan, "dialog").empty());
    EXPECT_FALSE(plan.rebootRequested);
    // The new mixers come at the third poll; no pause for a prompt follows.
    EXPECT_EQ(Sleeps(plan), (std::vector<std::uint64_t>{3000, 3000}));
    const std::string text = PlanText(plan);
    EXPECT_NE(text.find("Exit code 3010 (installed, a restart is needed); no restart requested; "
                        "6.000 s of virtual time.\n"),
              std::string::npos)
        << text;

    const PlanResult older = PlanFolder(media, "/silent", On("98"));
    EXPECT_EQ(older.route, "silent-unavailable");
    EXPECT_EQ(older.exitCode, 1633);
    EXPECT_TRUE(EventsOf(older, "start").empty());
    EXPECT_NE(PlanText(older).find("Exit code 1633 (this Windows has no unattended path)"),
              std::string::npos);
}

TEST_F(Plan, TheRunAfterTheRestartReplacesTheMixer)
{
    const PlanResult plan = PlanFolder(media, "-ReplaceMixer", On("xp"));
    EXPECT_EQ(plan.route, "replace-mixer");
    EXPECT_EQ(plan.program, "C:\\WINDOWS\\W2KSetup.exe");
    EXPECT_NE(plan.before.find("\"/DRIVER\""), std::string::npos);
    EXPECT_EQ(EventsOf(plan, "reg-delete"), Texts{std::string(kRunKey) + " \"Replace Quarnel Mixer\""});
    EXPECT_EQ(EventsOf(plan, "copy"), Texts{"C:\\WINDOWS\\Mixer.dat -> C:\\WINDOWS\\Mixer.exe"});
    EXPECT_EQ(EventsOf(plan, "start"),
              Texts{"C:\\WINDOWS\\Mixer.exe /startup  (in C:\\WINDOWS\\system32, SW_HIDE)"});
    // No mixer window after the restart: it looks for one for 100 s.
    EXPECT_EQ(plan.virtualMs, 100000u);

    // Without the installer's copy the Run entry names no program.
    media.Remove("WinXP\\drv\\W2KSetup.dat");
    const PlanResult nothing = PlanFolder(media, "-ReplaceMixer", On("xp"));
    EXPECT_FALSE(nothing.started);
    EXPECT_TRUE(nothing.events.empty());
    EXPECT_NE(nothing.stopped.find("nothing runs after the restart"), std::string::npos);
}

TEST_F(Plan, TextAndJsonShowTheRun)
{
    const PlanResult plan = PlanFolder(media, "/DRIVER", On("xp"));
    const std::string text = PlanText(plan);
    EXPECT_EQ(text.rfind("Windows XP, D:\\W2KSetup.exe with \"/DRIVER\": route driver-switch\n", 0), 0u);
    EXPECT_NE(text.find("     6.000 s  sleep        5000 ms\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Exit code 0; restart requested; 11.000 s of virtual time.\n"), std::string::npos);

    const std::string json = PlanJson(plan);
    EXPECT_EQ(json.rfind("{\"windows\": \"xp\", \"command_line\": \"/DRIVER\", \"route\": "
                         "\"driver-switch\", \"exit_code\": 0, \"reboot_requested\": true, "
                         "\"virtual_ms\": 11000,\n \"events\": [\n",
                         0),
              0u)
        << json;
    EXPECT_NE(json.find("{\"t_ms\": 6000, \"kind\": \"sleep\", \"ms\": 5000}"), std::string::npos);
    EXPECT_NE(json.find("{\"t_ms\": 11000, \"kind\": \"reboot\"}"), std::string::npos);

    // The 100 polls for the mixer after the restart are one line of text.
    const std::string restart = PlanText(PlanFolder(media, "-ReplaceMixer", On("xp")));
    EXPECT_NE(restart.find("sleep        1000 ms  (100 times in a row)\n"), std::string::npos)
        << restart;
}

}  // namespace
