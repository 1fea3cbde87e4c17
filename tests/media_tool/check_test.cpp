// check on media with exactly one fault planted each: the fault gives its
// code, at its path, on the Windows versions and starts that really read
// that part of the media, and nothing else is reported.
#include <gtest/gtest.h>

#include <algorithm>

#include "media_folder.h"
#include "driver/inf_option_patch.h"
#include "media_tool/check/inf_option_lines.h"

namespace {

using Codes_ = std::vector<std::string>;

class Check : public ::testing::Test {
protected:
    void SetUp() override { media.WriteSample(); }

    // The finding the media gives, the last of them when several starts
    // give it; fails the test when there is any other or none.
    Finding Only(const std::string& code, const std::string& path)
    {
        const std::vector<Finding> findings = CheckFolder(media);
        EXPECT_FALSE(findings.empty());
        for (const Finding& finding : findings) {
            EXPECT_EQ(finding.code, code);
            EXPECT_EQ(finding.path, path);
        }
        return findings.empty() ? Finding{} : findings.back();
    }

    // A driver folder that gives no driver: `code` from the starts that show
    // the user why, "silent-install-fails" from "/S", both at `path`, and
    // nothing else. Returns the last finding of `code` and the silent one.
    std::pair<Finding, Finding> NoDriverFrom(const std::string& code, const std::string& path)
    {
        std::pair<Finding, Finding> found;
        for (const Finding& finding : CheckFolder(media)) {
            EXPECT_EQ(finding.path, path);
            EXPECT_EQ(finding.severity, Severity::Error);
            EXPECT_TRUE(finding.code == code || finding.code == "silent-install-fails")
                << finding.code;
            (finding.code == code ? found.first : found.second) = finding;
        }
        EXPECT_EQ(found.first.code, code);
        EXPECT_EQ(found.second.code, "silent-install-fails");
        return found;
    }

    MediaFolder media;
};

TEST_F(Check, TheSampleMediaAndAWebSetUpCheckClean)
{
    EXPECT_TRUE(CheckFolder(media).empty());

    for (const char* options : {"WebSetup=1\r\nInstallWDMDriver=1\r\n", "WebSetup=2\r\n",
                                "WebSetup=1\r\nLogFile=C:\\setup.log\r\n"}) {
        MediaFolder web;
        web.WriteWebSetup(options);
        EXPECT_TRUE(CheckFolder(web).empty()) << options;
    }
}

TEST_F(Check, SetupExeThatIsTheInstallerLoopsOnTheOlderWindows)
{
    media.Write("Setup.exe", MediaFolder::kInstaller);
    const Finding finding = Only("handover-loop", "D:\\Setup.exe");
    EXPECT_EQ(finding.severity, Severity::Error);
}

TEST_F(Check, AMissingSetupExeHandsOverToNothing)
{
    media.Remove("Setup.exe");
    const Finding finding = Only("handover-missing", "D:\\Setup.exe");
    EXPECT_EQ(finding.severity, Severity::Warning);
    EXPECT_NE(finding.Sentence().find("On Windows 95, 98, ME and NT 4 "), std::string::npos)
        << finding.Sentence();
}

// XP takes WinXP\ when it is there, and 2000 never looks at it.
TEST_F(Check, AnEmptyDriverFolderIsReportedWhereItsProbePicksIt)
{
    media.Remove("WinXP\\drv");
    media.Folder("WinXP\\drv");
    const auto [finding, silent] = NoDriverFrom("driver-folder-empty", "D:\\WinXP\\drv\\");
    EXPECT_NE(finding.Sentence().find("Started with \"/DRIVER\""), std::string::npos);
    EXPECT_EQ(finding.windows, Codes_{"Windows XP"});
    EXPECT_NE(finding.Sentence().find("(D:\\WinXP\\ is there)"), std::string::npos);
    EXPECT_NE(finding.Sentence().find("\"Can not find installation files.\""), std::string::npos);
    // A script sees no message, only the exit code.
    EXPECT_EQ(silent.windows, Codes_{"Windows XP"});
    EXPECT_EQ(silent.Sentence(),
              "Started with \"/S\" on Windows XP, the unattended installation takes the driver "
              "from D:\\WinXP\\drv\\ (D:\\WinXP\\ is there), which holds no files, so it "
              "installs nothing and ends with exit code 1603 (nothing was installed or the "
              "installation failed); put the driver package into D:\\WinXP\\drv\\.");
}

TEST_F(Check, ADriverFolderWithoutItsInf)
{
    media.Remove("W2K-ME\\drv\\QNAUDIO.INF");
    const auto [finding, silent] = NoDriverFrom("inf-missing", "D:\\W2K-ME\\drv\\QNAUDIO.INF");
    EXPECT_EQ(finding.windows, Codes_{"Windows 2000"});
    EXPECT_EQ(silent.windows, Codes_{"Windows 2000"});
    EXPECT_NE(silent.Sentence().find(", which has no QNAUDIO.INF, so it installs nothing and ends "
                                     "with exit code 1603"),
              std::string::npos)
        << silent.Sentence();

    // Without W2K-ME\ Windows 2000 falls back to WIN_ME\ (XP still has WinXP\).
    MediaFolder fallback;
    fallback.WriteSample();
    fallback.Remove("W2K-ME");
    fallback.Write("WIN_ME\\app\\Setup.exe", "MZ package setup");
    fallback.Remove("WIN_ME\\drv\\QNAUDIO.INF");
    const std::vector<Finding> findings = CheckFolder(fallback);
    ASSERT_FALSE(findings.empty());
    for (const Finding& each : findings) {
        EXPECT_TRUE(each.code == "inf-missing" || each.code == "silent-install-fails") << each.code;
        EXPECT_EQ(each.path, "D:\\WIN_ME\\drv\\QNAUDIO.INF");
        EXPECT_EQ(each.windows, Codes_{"Windows 2000"});
        EXPECT_NE(each.Sentence().find("WIN_ME\\drv\\ (D:\\W2K-ME\\ is not)"), std::string::npos)
            << each.Sentence();
    }
}

// With WebSetup=1 and no InstallWDMDriver a person's start installs nothing
// at all, but "/S" takes the silent web set-up's package beside the installer.
TEST_F(Check, AnUnattendedRunThatOnlyAScriptStartsIsCheckedToo)
{
    media.Write("setup.ini", "[InstallOption]\r\nWebSetup=1\r\n");
    std::vector<Finding> findings = CheckFolder(media);
    // Beside it only the warnings that the media's folders are not copied.
    const auto subfolder = [](const Finding& f) { return f.code == "subfolder-not-copied"; };
    findings.erase(std::remove_if(findings.begin(), findings.end(), subfolder), findings.end());
    ASSERT_EQ(Codes(findings), Codes_{"silent-install-fails"});
    EXPECT_EQ(findings[0].path, "D:\\QNAUDIO.INF");
    EXPECT_EQ(findings[0].windows, (Codes_{"Windows 2000", "Windows XP"}));
    EXPECT_NE(findings[0].Sentence().find("takes the driver from D:\\, which has no QNAUDIO.INF"),
              std::string::npos)
        << findings[0].Sentence();
}

TEST_F(Check, OptionLinesTheWindows2000DialogCannotFindNameTheirNearestLine)
{
    MediaFolder web;
    web.WriteWebSetup("WebSetup=1\r\nInstallWDMDriver=1\r\n");
    std::string inf = MediaFolder::DriverInf();
    const std::string jack = kJackConfigLine;
    const std::string typo = "HKR,\"Settings\",\"JackConfig\",0x00010001,0x05,0,0,0";
    inf.replace(inf.find(jack), jack.size(), typo);
    web.Write("QNAUDIO.INF", inf);

    const std::vector<Finding> findings = CheckFolder(web);
    ASSERT_EQ(Codes(findings), Codes_{"inf-option-lines"});
    EXPECT_EQ(findings[0].path, "D:\\QNAUDIO.INF");
    EXPECT_EQ(findings[0].windows, (Codes_{"Windows 2000", "Windows XP"}));
    EXPECT_NE(findings[0].Sentence().find("line 12, \"" + typo + "\""), std::string::npos)
        << findings[0].Sentence();

    // Indented, the line no longer starts its line.
    inf = MediaFolder::DriverInf();
    inf.replace(inf.find(kEnableLegacyLine), 0, " ");
    web.Write("QNAUDIO.INF", inf);
    EXPECT_EQ(Codes(CheckFolder(web)), Codes_{"inf-option-lines"});

    // The nearest line is the one fewest characters away, the first of equals.
    const std::string legacy = kEnableLegacyLine;
    const std::string lines[] = {
        std::string(legacy).replace(legacy.find("    "), 0, "  "),      // 11: 2 blanks more
        std::string(legacy).replace(legacy.size() - 5, 5, "1,1,1"),    // 12: 3 changed
        std::string(jack).replace(jack.find("0x05"), 4, "0x04"),       // 13: 1 changed
        std::string(jack).erase(jack.find(" "), 1),                    // 14: 1 blank less
        "; " + jack,                                                   // 15: 2 more
    };
    inf = MediaFolder::DriverInf();
    inf.erase(inf.find(legacy));
    for (const std::string& line : lines)
        inf += line + "\r\n";
    web.Write("QNAUDIO.INF", inf);
    const std::vector<Finding> nearest = CheckFolder(web);
    ASSERT_EQ(Codes(nearest), (Codes_{"inf-option-lines", "inf-option-lines"}));
    EXPECT_NE(nearest[0].Sentence().find("the nearest is line 11,"), std::string::npos)
        << nearest[0].Sentence();
    EXPECT_NE(nearest[1].Sentence().find("the nearest is line 13,"), std::string::npos)
        << nearest[1].Sentence();
}

TEST_F(Check, AnInfTheDialogNeverPatchesForTheCaseOfItsName)
{
    MediaFolder web;
    web.WriteWebSetup("WebSetup=1\r\nInstallWDMDriver=1\r\n");
    web.Remove("QNAUDIO.INF");
    web.Write("QNAUDIO.Inf", MediaFolder::DriverInf());
    // A copy that fails is no file the dialog could patch.
    web.Write(std::string(225, 'n') + ".Inf", "too long a name to be staged");
    const std::vector<Finding> findings = CheckFolder(web);
    ASSERT_EQ(Codes(findings), (Codes_{"path-too-long", "inf-name-case"}));
    EXPECT_EQ(findings[1].path, "D:\\QNAUDIO.Inf");

    // The silent web set-up patches nothing, so the name makes no difference.
    MediaFolder silent;
    silent.WriteWebSetup("WebSetup=2\r\n");
    silent.Remove("QNAUDIO.INF");
    silent.Write("QNAUDIO.Inf", MediaFolder::DriverInf());
    EXPECT_TRUE(CheckFolder(silent).empty());
}

TEST_F(Check, ASubfolderOfADriverFolderIsNeverCopied)
{
    media.Write("WinXP\\drv\\x64\\qnaudio.sys", "MZ 64-bit driver");
    const Finding finding = Only("subfolder-not-copied", "D:\\WinXP\\drv\\x64\\");
    EXPECT_EQ(finding.severity, Severity::Warning);
    EXPECT_EQ(finding.windows, Codes_{"Windows XP"});
}

TEST_F(Check, MixerWithoutTheInstallerCopyLeavesTheRestartNothingToRun)
{
    media.Remove("WinXP\\drv\\W2KSetup.dat");
    const Finding finding = Only("installer-copy-missing", "D:\\WinXP\\drv\\W2KSetup.dat");
    EXPECT_EQ(finding.severity, Severity::Error);
    EXPECT_EQ(finding.windows, Codes_{"Windows XP"});

    // Without Mixer.dat nothing is registered, and nothing is missing.
    media.Remove("WinXP\\drv\\Mixer.dat");
    EXPECT_TRUE(CheckFolder(media).empty());
}

TEST_F(Check, AnInstallerCopyThatIsAnotherProgram)
{
    media.Write("W2K-ME\\drv\\W2KSetup.dat", "MZ an older installer");
    const Finding finding = Only("installer-copy-differs", "D:\\W2K-ME\\drv\\W2KSetup.dat");
    EXPECT_EQ(finding.windows, Codes_{"Windows 2000"});
}

TEST_F(Check, APackageFolderWithoutItsSetupProgram)
{
    media.Remove("W2K-ME\\app\\Setup.exe");
    const std::vector<Finding> findings = CheckFolder(media);
    // The main dialog stops before it shows; "/AP" says what is missing.
    ASSERT_EQ(Codes(findings), (Codes_{"package-missing", "package-missing"}));
    EXPECT_EQ(findings[0].path, "D:\\W2K-ME\\app\\Setup.exe");
    EXPECT_EQ(findings[1].path, "D:\\W2K-ME\\app\\Setup.exe");
    const std::string both = findings[0].Sentence() + findings[1].Sentence();
    EXPECT_NE(both.find("\"Can not find installation files.\""), std::string::npos);
    EXPECT_NE(both.find("\"Can not find the PCI Audio Applications setup program.\""),
              std::string::npos);
}

TEST_F(Check, SetupIniValuesThatAreNotPlainNumbers)
{
    media.Write("setup.ini", "[InstallOption]\r\nWebSetup=yes\r\n[Default]\r\nUsingCDDA=1x\r\n");
    const std::vector<Finding> findings = CheckFolder(media);
    ASSERT_EQ(Codes(findings), (Codes_{"setup-ini-value", "setup-ini-value"}));
    EXPECT_NE(findings[0].Sentence().find("WebSetup=yes"), std::string::npos);
    EXPECT_NE(findings[0].Sentence().find("reads it as 0"), std::string::npos);
    EXPECT_NE(findings[1].Sentence().find("reads it as 1"), std::string::npos);
}

TEST_F(Check, SetupIniSectionsAndKeysTheInstallerDoesNotRead)
{
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"[InstallOption]\r\nWebSetpu=0\r\n", "WebSetpu=0 is not a key the installer reads"},
        {"[InstallOptions]\r\nFoo=1\r\n", "the section [InstallOptions]"},
        {"[Default]\r\nWebSetup=0\r\n", "reads WebSetup in [InstallOption]"},
        {"WebSetup=0\r\n", "stands before any section"},
        {"[InstallOption]\r\nWebSetup 0\r\n", "has no \"=\""},
        {"[InstallOption]\r\nWebSetup=0\r\nwebsetup=2\r\n", "the installer reads only the first"},
    };
    for (const auto& c : cases) {
        media.Write("setup.ini", c.text);
        const std::vector<Finding> findings = CheckFolder(media);
        ASSERT_FALSE(findings.empty()) << c.text;
        EXPECT_EQ(findings[0].code, "setup-ini-unknown") << c.text;
        EXPECT_EQ(findings[0].path, "D:\\setup.ini");
        EXPECT_NE(findings[0].Sentence().find(c.says), std::string::npos)
            << findings[0].Sentence();
    }
    // Keys the installer reads, in any case, and comments, are fine.
    media.Write("setup.ini",
                "; built for the CD\r\n[installoption]\r\nwebsetup=0\r\nLogFile=setup.log\r\n"
                "[DEFAULT]\r\nUsingCDDA=1\r\n");
    EXPECT_TRUE(CheckFolder(media).empty());
}

// The staging folder is 32 characters long: a driver file's name of 227
// characters fits, one more does not.
TEST_F(Check, AFileNameTooLongForTheStagingFolder)
{
    const std::string fits = std::string(223, 'f') + ".sys";
    media.Write("WinXP\\drv\\" + fits, "MZ");
    EXPECT_TRUE(CheckFolder(media).empty());

    media.Remove("WinXP\\drv\\" + fits);
    const std::string tooLong = std::string(224, 'f') + ".sys";
    media.Write("WinXP\\drv\\" + tooLong, "MZ");
    const Finding finding = Only("path-too-long", "D:\\WinXP\\drv\\" + tooLong);
    EXPECT_EQ(finding.severity, Severity::Error);
    EXPECT_NE(finding.Sentence().find("(260 characters)"), std::string::npos)
        << finding.Sentence();
}

TEST_F(Check, AMediaWithoutTheInstallerIsStillChecked)
{
    media.Remove("W2KSetup.exe");
    media.Remove("WinXP\\drv\\QNAUDIO.INF");
    // From /DRIVER, from the main dialog's driver box and from /S.
    EXPECT_EQ(Codes(CheckFolder(media)),
              (Codes_{"installer-missing", "inf-missing", "inf-missing", "silent-install-fails"}));
}

}  // namespace

