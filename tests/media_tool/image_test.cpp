// check, plan and image on disc images: an image of a clean media checks
// clean and plans as its folder with every file read-only; each finding
// only an image shows comes from exactly its fault, planted in an image.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "media_folder.h"
#include "media_tool/check/check.h"
#include "media_tool/reading/image_scan.h"
#include "media_tool/media_tool.h"
#include "media_tool/reports/plan_report.h"

namespace {

using Texts = std::vector<std::string>;

std::vector<Finding> CheckImage(const std::string& image)
{
    return CheckMedia(ScanImage(image));
}

// The plan's text without its first line, which names the folder or image.
std::string PlanLines(const MediaTree& media, const std::string& commandLine,
                      const PlanSetup& setup)
{
    const std::string text = PlanText(PlanMedia(MediaImage(media), setup, commandLine));
    return text.substr(text.find('\n') + 1);
}

int RunTool(const Texts& arguments, std::string& out)
{
    std::ostringstream output;
    std::ostringstream errors;
    const int status = RunMediaTool(arguments, output, errors);
    out = output.str() + errors.str();
    return status;
}

class Image : public ::testing::Test {
protected:
    void SetUp() override { media.WriteSample(); }

    MediaFolder media;
    MediaFolder images;
};

TEST_F(Image, TheImageOfACleanMediaChecksCleanAndPlansAsItsFolderReadOnly)
{
    media.Write("WinXP\\drv\\Liesmich \xC3\xBC \xE2\x82\xAC.txt", "names beyond ASCII");
    media.Write("WinXP\\drv\\" + std::string(60, 'j') + ".txt", "as long as Joliet holds");
    const std::string image = images.Host("sample.iso");
    std::string out;
    EXPECT_EQ(RunTool({"image", media.Root(), image, "--label", "audio_cd"}, out), 0) << out;
    EXPECT_NE(out.find("label AUDIO_CD"), std::string::npos) << out;
    EXPECT_NE(out.find("Image " + image + " (the installer sees it as D:\\)\nNo findings"),
              std::string::npos)
        << out;

    for (const auto& file : std::filesystem::recursive_directory_iterator(media.Root())) {
        if (file.is_regular_file())
            ::chmod(file.path().c_str(), 0444);
    }
    const MediaTree folder = ScanMedia(media.Root());
    const MediaTree disc = ScanImage(image);
    ASSERT_NE(disc.Find("WinXP\\drv\\Liesmich \xC3\xBC \xE2\x82\xAC.txt"), nullptr);
    for (const char* windows : {"xp", "2000", "98"}) {
        for (const char* start : {"", "/DRIVER", "-ReplaceMixer"}) {
            PlanSetup setup;
            setup.windows = *FindWindows(windows);
            setup.answers.applications = false;
            EXPECT_EQ(PlanLines(disc, start, setup), PlanLines(folder, start, setup))
                << windows << " " << start;
        }
    }
}

TEST_F(Image, WithoutJolietTheInstallerMissesW2KME)
{
    const std::vector<Finding> findings =
        CheckImage(WriteIsoImage(media, images, "plain", false));
    std::vector<Finding> found;
    for (const Finding& finding : findings) {
        EXPECT_NE(finding.code, "name-changed-on-image") << "W2K-ME is reported once";
        if (finding.code == "no-joliet-name")
            found.push_back(finding);
    }
    ASSERT_EQ(found.size(), 1u) << ::testing::PrintToString(Codes(findings));
    EXPECT_EQ(found[0].severity, Severity::Error);
    EXPECT_EQ(found[0].path, "D:\\W2K_ME\\");
    EXPECT_NE(found[0].Sentence().find("looks for D:\\W2K-ME\\"), std::string::npos)
        << found[0].Sentence();
    EXPECT_NE(std::find(found[0].windows.begin(), found[0].windows.end(), "Windows 2000"),
              found[0].windows.end());

    // A file in the folder's place is missed with Joliet names too; the
    // package went with the folder.
    media.Remove("W2K-ME");
    media.Write("W2K-ME", "a file");
    EXPECT_EQ(Codes(CheckImage(WriteIsoImage(media, images, "file", false))),
              (Texts{"package-missing", "package-missing", "name-changed-on-image"}));
}

// xorriso cuts a Joliet name to 64 characters and leaves a path past 120
// out of the Joliet tree; its Rock Ridge names keep what the folder held.
TEST_F(Image, NamesJolietCannotHoldShowTheFolderSomethingElse)
{
    const std::string longName(70, 'n');
    media.Write("WinXP\\drv\\" + longName + ".txt", "long name");
    std::string deep = "Extras";
    for (int i = 0; i < 6; ++i)
        deep += "\\" + std::string(20, static_cast<char>('a' + i));
    media.Write(deep + "\\deep.txt", "deep");

    const std::vector<Finding> findings = CheckImage(WriteIsoImage(media, images, "cut", true));
    ASSERT_EQ(Codes(findings), (Texts{"name-changed-on-image", "name-changed-on-image"}));
    for (const Finding& finding : findings)
        EXPECT_EQ(finding.severity, Severity::Warning);
    EXPECT_EQ(findings[0].path, "D:\\Extras\\aaaaaaaaaaaaaaaaaaaa\\bbbbbbbbbbbbbbbbbbbb\\"
                                "cccccccccccccccccccc\\dddddddddddddddddddd\\eeeeeeeeeeeeeeeeeeee\\"
                                "ffffffffffffffffffff");
    EXPECT_NE(findings[0].Sentence().find("its path is 132 characters"), std::string::npos)
        << findings[0].Sentence();
    EXPECT_EQ(findings[1].path, "D:\\WinXP\\drv\\" + longName + ".txt");
    EXPECT_NE(findings[1].Sentence().find("74 characters long"), std::string::npos)
        << findings[1].Sentence();
}

TEST_F(Image, AJolietNameThatIsNoUtf16IsLeftOut)
{
    media.Write("zzzz.txt", "odd name");
    const std::string image = WriteIsoImage(media, images, "odd", true, {"-rockridge", "off"});
    ASSERT_TRUE(PatchBytes(image, std::string("\0z\0z\0z\0z", 8), std::string("\xD8\0\0z\0z\0z", 8)));
    const std::vector<Finding> findings = CheckImage(image);
    ASSERT_EQ(Codes(findings), Texts{"name-not-readable"});
    EXPECT_EQ(findings[0].path, "D:\\");
    EXPECT_EQ(findings[0].Sentence().rfind("1 name(s)", 0), 0u) << findings[0].Sentence();
}

TEST_F(Image, AnEntryListedTwiceIsLeftOut)
{
    media.Write("aaaa.txt", "first");
    media.Write("aaab.txt", "second");
    const std::string image = WriteIsoImage(media, images, "twice", true, {"-rockridge", "off"});
    ASSERT_TRUE(PatchBytes(image, std::string("\0a\0a\0a\0b", 8), std::string("\0a\0a\0a\0a", 8)));
    const std::vector<Finding> findings = CheckImage(image);
    ASSERT_EQ(Codes(findings), Texts{"image-entry-broken"});
    EXPECT_EQ(findings[0].path, "D:\\aaaa.txt");
}

// Nothing is written when a name could not go onto the image as it is.
TEST_F(Image, ImageRefusesNamesJolietCannotHold)
{
    const struct {
        const char* path;
        const char* code;
        const char* finding;
    } cases[] = {
        {"WinXP\\drv\\a name of sixty-five characters, one more than Joliet allows!.txt",
         "name-past-joliet", "is 65 characters long"},
        {"Extras\\semi;colon.txt", "name-past-joliet", "D:\\Extras\\semi;colon.txt"},
        {"Extras\\emoji \xF0\x9F\x8E\xB5.txt", "name-past-joliet", "a character beyond"},
        {"Extras\\long folder name number one\\long folder name number two\\long folder name "
         "number three\\long folder name four\\file.txt",
         "path-past-joliet", "D:\\Extras\\long folder name number one\\long folder name number "
                             "two\\long folder name number three\\long folder name four\\file.txt is 123"},
    };
    for (const auto& c : cases) {
        MediaFolder folder;
        folder.WriteSample();
        folder.Write(c.path, "x");
        const std::string image = images.Host("refused.iso");
        std::string out;
        EXPECT_EQ(RunTool({"image", folder.Root(), image}, out), 1) << out;
        EXPECT_NE(out.find(std::string("error ") + c.code), std::string::npos) << out;
        EXPECT_NE(out.find(c.finding), std::string::npos) << out;
        EXPECT_NE(out.find("No image written"), std::string::npos) << out;
        EXPECT_FALSE(std::filesystem::exists(image));
    }
}

}  // namespace
