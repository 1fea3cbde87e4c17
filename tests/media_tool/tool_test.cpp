// The command line, the media scan on bad input, and the texts of the
// output: what a person types and what they get back, without a crash.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "media_folder.h"
#include "media_tool/reports/json_text.h"
#include "media_tool/media_tool.h"
#include "media_tool/tool_options.h"

namespace {

using Texts = std::vector<std::string>;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(const Texts& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunMediaTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(ToolOptions, PlanFlagsAndTheirDefaults)
{
    ToolOptions defaults = ParseToolOptions({"plan", "/media"});
    EXPECT_EQ(defaults.command, ToolCommand::Plan);
    EXPECT_EQ(defaults.media, "/media");
    EXPECT_STREQ(defaults.plan.windows.name, "xp");
    EXPECT_EQ(defaults.plan.device, DeviceState::Present);
    EXPECT_TRUE(defaults.plan.answers.applications && defaults.plan.answers.driver &&
                defaults.plan.answers.restart);
    EXPECT_FALSE(defaults.json);

    ToolOptions all = ParseToolOptions(
        {"plan", "--windows", "98", "--args", "-ReplaceMixer", "--device", "reboot", "--apps",
         "no", "--driver", "yes", "--cancel", "--board", "soundcard", "--jack", "micsub", "--jack",
         "centre", "--jack", "rear", "--legacy", "--restart", "no", "--json", "/media"});
    EXPECT_EQ(all.media, "/media");
    EXPECT_STREQ(all.plan.windows.name, "98");
    EXPECT_EQ(all.arguments, "-ReplaceMixer");
    EXPECT_EQ(all.plan.device, DeviceState::Reboot);
    EXPECT_FALSE(all.plan.answers.applications);
    EXPECT_TRUE(all.plan.answers.cancel && all.plan.answers.soundCard &&
                all.plan.answers.disableLegacy && all.json);
    EXPECT_EQ(all.plan.answers.jacks, (std::vector<Jack>{Jack::MicSub, Jack::Centre, Jack::Rear}));
    EXPECT_FALSE(all.plan.answers.restart);
}

TEST(ToolOptions, UsageErrorsSayWhatIsWrong)
{
    const struct {
        Texts arguments;
        const char* says;
    } cases[] = {
        {{}, "no command"},
        {{"inspect", "/m"}, "unknown command \"inspect\""},
        {{"check"}, "needs the media folder"},
        {{"check", "/m", "--windows", "xp"}, "only --json"},
        {{"plan", "/m", "--windows", "7"}, "not \"7\""},
        {{"plan", "/m", "--args"}, "--args needs a value"},
        {{"plan", "/m", "--device", "broken"}, "present, absent, fails or reboot"},
        {{"plan", "/m", "--apps", "maybe"}, "yes or no"},
        {{"plan", "/m", "--jack", "front"}, "rear, centre or micsub"},
        {{"plan", "/m", "/n"}, "one media folder only"},
        {{"plan", "/m", "--verbose"}, "unknown option \"--verbose\""},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("usage: w2kmedia check MEDIA"), std::string::npos);
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(ToolRuns, ExitStatusesAndFoldersThatAreNoMedia)
{
    MediaFolder media;
    media.WriteSample();
    EXPECT_EQ(RunTool({"check", media.Root()}).status, 0);
    EXPECT_EQ(RunTool({"plan", media.Root(), "--json"}).status, 0);
    media.Write("Setup.exe", MediaFolder::kInstaller);
    const ToolRun failing = RunTool({"check", media.Root(), "--json"});
    EXPECT_EQ(failing.status, 1);
    EXPECT_NE(failing.out.find("\"code\": \"handover-loop\""), std::string::npos);

    const ToolRun missing = RunTool({"check", media.Root() + "/none"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read the media folder"), std::string::npos);
    const ToolRun file = RunTool({"plan", media.Host("setup.ini")});
    EXPECT_EQ(file.status, 2);
    EXPECT_NE(file.err.find("is a file, not a media folder"), std::string::npos);

    MediaFolder empty;
    const ToolRun noInstaller = RunTool({"plan", empty.Root()});
    EXPECT_EQ(noInstaller.status, 2);
    EXPECT_NE(noInstaller.err.find("there is no W2KSetup.exe"), std::string::npos);
    const ToolRun checked = RunTool({"check", empty.Root()});
    EXPECT_EQ(checked.status, 1);
    EXPECT_NE(checked.out.find("installer-missing"), std::string::npos);
}

// Names a Windows disc cannot hold, or holds as one, are left out and
// reported; blanks and bytes beyond ASCII are names like any other.
TEST(MediaScan, NamesWindowsCannotHoldAreReportedAndLeftOut)
{
    MediaFolder media;
    media.WriteSample();
    media.Write("Read Me \xC3\xBC.txt", "text");
    media.Write("a:b.txt", "colon");
    media.Write("CON.txt", "device name");
    media.Write("conin$.log", "the console's name");
    media.Write("trailing.", "dot");
    media.Write("WinXP\\drv\\QNAUDIO.inf", "second spelling");

    const MediaTree tree = ScanMedia(media.Root());
    ASSERT_NE(tree.Find("read me \xC3\xBC.TXT"), nullptr);
    EXPECT_EQ(tree.Find("a:b.txt"), nullptr);
    std::vector<std::string> problems;
    for (const ScanProblem& problem : tree.problems)
        problems.push_back(problem.path + " | " + problem.detail);
    EXPECT_EQ(problems, (Texts{"CON.txt | Windows keeps the name CON for a device",
                               "WinXP\\drv\\QNAUDIO.inf | WinXP\\drv\\QNAUDIO.INF",
                               "a:b.txt | it holds ':'",
                               "conin$.log | Windows keeps the name CONIN$ for a device",
                               "trailing. | it ends in a dot or a blank"}));
    const std::vector<Finding> findings = CheckFolder(media);
    EXPECT_EQ(Codes(findings),
              (Texts{"name-not-valid", "name-clash", "name-not-valid", "name-not-valid",
                     "name-not-valid"}));
}

// Files without read permission are program_test.py's: it runs the program
// as another user, since root reads every file. Folders nested deeper than
// 64 are taken for a loop the inode numbers did not show.
TEST(MediaScan, LinkLoopsAndFilesThatCannotBeReadAreReported)
{
    MediaFolder media;
    media.WriteSample();
    ASSERT_EQ(::symlink("..", media.Host("WinXP\\back").c_str()), 0);
    ASSERT_EQ(::symlink("self", media.Host("self").c_str()), 0);
    ASSERT_EQ(::symlink("none", media.Host("dangling").c_str()), 0);
    ASSERT_EQ(::mkfifo(media.Host("pipe").c_str(), 0600), 0);
    std::string deepest = "deep";
    for (int depth = 2; depth <= 64; ++depth)
        deepest += "\\deep";
    media.Write(deepest + "\\kept.txt", "64 folders deep");
    media.Folder(deepest + "\\deep");

    const MediaTree tree = ScanMedia(media.Root());
    std::vector<std::string> problems;
    for (const ScanProblem& problem : tree.problems)
        problems.push_back(problem.path + " | " + problem.detail);
    EXPECT_EQ(problems, (Texts{"WinXP\\back | is a link back to the media root",
                               "dangling | the link leads nowhere",
                               deepest + "\\deep | lies more than 64 folders deep",
                               "pipe | not a file or folder",
                               "self | is a link that never resolves"}));
    EXPECT_NE(tree.Find(deepest + "\\kept.txt"), nullptr);
    EXPECT_EQ(Codes(CheckFolder(media)),
              (Texts{"link-loop", "unreadable", "link-loop", "link-loop", "not-a-file"}));
}

TEST(JsonText, EveryByteGivesValidJson)
{
    EXPECT_EQ(JsonString("D:\\a \"b\"\r\n\t"), "\"D:\\\\a \\\"b\\\"\\r\\n\\t\"");
    EXPECT_EQ(JsonString(std::string("\x01\x7F", 2)), "\"\\u0001\\u007f\"");
    // Valid UTF-8 stays as it is; any other byte is the character of its number.
    EXPECT_EQ(JsonString("\xC3\xBC \xE2\x82\xAC \xF0\x9F\x8E\xB5"), "\"\xC3\xBC \xE2\x82\xAC \xF0\x9F\x8E\xB5\"");
    EXPECT_EQ(JsonString("\xFC\xC3(\xE2\x82"), "\"\\u00fc\\u00c3(\\u00e2\\u0082\"");
    EXPECT_EQ(JsonString("\xC0\xAF\xED\xA0\x80"), "\"\\u00c0\\u00af\\u00ed\\u00a0\\u0080\"")
        << "overlong forms and surrogates are not UTF-8";
}

TEST(FindingText, VersionsJoinAndSortErrorsFirst)
{
    FindingList list;
    list.Add({Severity::Warning, "w", "D:\\a", "on {windows}", {"Windows 2000"}});
    list.Add({Severity::Error, "e", "D:\\z", "on {windows}", {"Windows 95"}});
    list.Add({Severity::Error, "e", "D:\\z", "on {windows}", {"Windows 98"}});
    list.Add({Severity::Error, "e", "D:\\z", "on {windows}", {"Windows ME"}});
    list.Add({Severity::Warning, "w", "D:\\a", "on {windows}", {"Windows XP"}});
    const std::vector<Finding> sorted = list.Sorted();
    ASSERT_EQ(sorted.size(), 2u);
    EXPECT_EQ(sorted[0].Sentence(), "on Windows 95, 98 and ME");
    EXPECT_EQ(sorted[1].Sentence(), "on Windows 2000 and XP");
}

}  // namespace
