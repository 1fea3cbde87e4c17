// The INF files of earlier driver generations removed from the INF folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "cleanup/legacy_inf_cleanup.h"
#include "support/setup_machine.h"

namespace {

std::string Inf(const std::string& description, const std::string& waveName = "")
{
    std::string text = "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n[Strings]\r\n";
    if (!description.empty())
        text += "SSC-Legacy.DeviceDesc=\"" + description + "\"\r\n";
    if (!waveName.empty())
        text += "WDM_QNPCI.Wave.szPname=\"" + waveName + "\"\r\n";
    return text;
}

class LegacyInfCleanup : public ::testing::Test {
protected:
    SetupMachine machine;

    void Plant(const std::string& path, const std::string& text, bool withPnf = true,
               std::uint32_t attributes = platform::kAttributeArchive) {
        machine.files.AddFile(path, text, attributes);
        if (withPnf)
            machine.files.AddFile(path.substr(0, path.size() - 3) + "PNF", "pnf", attributes);
    }
    bool Exists(const std::string& path) { return machine.files.Exists(path); }
    std::vector<std::string> Searches() { return machine.log().Details("FindFirstFileA"); }
};

TEST_F(LegacyInfCleanup, OtherFolderWithAnInfReplacesTheOemScan)
{
    Plant("C:\\WINDOWS\\INF\\OTHER\\QuarnelQNAUDIO.INF", Inf("QNAUDIO 5740 PCI Audio"));
    Plant("C:\\WINDOWS\\INF\\OTHER\\printer.INF", Inf("Some Printer"));
    Plant("C:\\WINDOWS\\INF\\OEM3.INF", Inf("QNI5340 Legacy Audio"));
    RemoveLegacyInfFiles(machine.os());

    EXPECT_EQ(Searches(), (std::vector<std::string>{"C:\\WINDOWS\\INF\\OTHER\\*.INF",
                                                    "C:\\WINDOWS\\INF\\QN*.INF",
                                                    "C:\\WINDOWS\\INF\\oem*.INF"}));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\OTHER\\QuarnelQNAUDIO.INF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\OTHER\\QuarnelQNAUDIO.PNF"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\OTHER\\printer.INF"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\OTHER\\printer.PNF"));
    // The OEM files are still met by the third scan.
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\OEM3.INF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\OEM3.PNF"));
}

TEST_F(LegacyInfCleanup, WithoutOtherInfsTheOemFilesAreScannedTwice)
{
    for (bool otherFolderExists : {false, true}) {
        SetupMachine fresh;
        if (otherFolderExists)
            fresh.files.AddFile("C:\\WINDOWS\\INF\\OTHER\\readme.txt", "no INF here");
        fresh.files.AddFile("C:\\WINDOWS\\INF\\oem0.inf", Inf("Quarnel Audio"));
        fresh.files.AddFile("C:\\WINDOWS\\INF\\oem1.inf", Inf("Another Device"));
        RemoveLegacyInfFiles(fresh.os());
        EXPECT_EQ(fresh.log().Details("FindFirstFileA"),
                  (std::vector<std::string>{
                      "C:\\WINDOWS\\INF\\OTHER\\*.INF", "C:\\WINDOWS\\INF\\OEM*.INF",
                      "C:\\WINDOWS\\INF\\QN*.INF", "C:\\WINDOWS\\INF\\oem*.INF"}));
        EXPECT_FALSE(fresh.files.Exists("C:\\WINDOWS\\INF\\oem0.inf"));
        EXPECT_TRUE(fresh.files.Exists("C:\\WINDOWS\\INF\\oem1.inf"));
        // oem0 is deleted in the first scan; oem1 is tested in both.
        auto tested = fresh.log().Details("GetPrivateProfileStringA");
        EXPECT_EQ(tested.size(), 6u);
        EXPECT_EQ(std::count(tested.begin(), tested.end(),
                             "[Strings] SSC-Legacy.DeviceDesc C:\\WINDOWS\\INF\\oem1.inf"),
                  2);
    }
}

TEST_F(LegacyInfCleanup, NamesMatchOnTheirFirstSevenCharactersWithCase)
{
    struct Case {
        const char* description;
        bool deleted;
    };
    const Case cases[] = {
        {"QNAUDIO PCI Audio Device", true}, {"QNAUDIO", true},     {"QNI5740 Legacy", true},
        {"QNI5340", true},                  {"Quarnel Sound", true}, {"QNAUD", false},
        {"qnaudio PCI Audio", false},       {"QUARNEL Sound", false}, {" QNAUDIO", false},
        {"QNI5741", false},                 {"", false},
    };
    int number = 0;
    for (const Case& c : cases) {
        std::string path = "C:\\WINDOWS\\INF\\QN" + std::to_string(number++) + ".INF";
        Plant(path, Inf(c.description));
    }
    RemoveLegacyInfFiles(machine.os());
    number = 0;
    for (const Case& c : cases) {
        std::string path = "C:\\WINDOWS\\INF\\QN" + std::to_string(number++) + ".INF";
        EXPECT_EQ(Exists(path), !c.deleted) << c.description;
        EXPECT_EQ(Exists(path.substr(0, path.size() - 3) + "PNF"), !c.deleted) << c.description;
    }
}

TEST_F(LegacyInfCleanup, TheWaveNameAloneIsEnoughAndBothEntriesAreRead)
{
    Plant("C:\\WINDOWS\\INF\\QNWDM.INF", Inf("", "QNI5740 Wave Out"));
    Plant("C:\\WINDOWS\\INF\\QNOTHER.INF", Inf("Other", "Other Wave"));
    RemoveLegacyInfFiles(machine.os());
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNWDM.INF"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QNOTHER.INF"));
    auto reads = machine.log().Details("GetPrivateProfileStringA");
    ASSERT_GE(reads.size(), 2u);
    EXPECT_EQ(reads[0], "[Strings] SSC-Legacy.DeviceDesc C:\\WINDOWS\\INF\\QNOTHER.INF");
    EXPECT_EQ(reads[1], "[Strings] WDM_QNPCI.Wave.szPname C:\\WINDOWS\\INF\\QNOTHER.INF");
}

TEST_F(LegacyInfCleanup, ReadOnlyInfsGoAndAMissingPnfIsNoError)
{
    Plant("C:\\WINDOWS\\INF\\QNOLD.INF", Inf("QNAUDIO"), true, platform::kAttributeReadOnly);
    Plant("C:\\WINDOWS\\INF\\QNNOPNF.INF", Inf("QNAUDIO"), false);
    Plant("C:\\WINDOWS\\INF\\QNZLATER.INF", Inf("Unrelated"));
    RemoveLegacyInfFiles(machine.os());
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNOLD.INF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNOLD.PNF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNNOPNF.INF"));
    // A match earlier in the scan has no effect on the files after it.
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QNZLATER.INF"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QNZLATER.PNF"));
}

TEST_F(LegacyInfCleanup, FailedDeletionsDoNotStopTheScan)
{
    Plant("C:\\WINDOWS\\INF\\QNA.INF", Inf("QNAUDIO"));
    Plant("C:\\WINDOWS\\INF\\QNB.INF", Inf("QNAUDIO"));
    machine.faults.Fail("DeleteFileA", "QNA.INF");
    machine.faults.Fail("SetFileAttributesA", "QNB.PNF");
    RemoveLegacyInfFiles(machine.os());
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QNA.INF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNA.PNF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNB.INF"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\QNB.PNF"));
}

TEST_F(LegacyInfCleanup, LongPathsAreNeitherCutNorConfused)
{
    // A Windows directory of more than 63 characters; and a found INF whose path passes
    // 63 characters in a short one. A path cut at 63 characters would name
    // the decoy beside it.
    const std::string longWindows =
        "C:\\Documents and Settings\\All Users\\Application Data\\Windows Copy";
    ASSERT_GT(longWindows.size(), 63u);
    machine.files.windowsDirectory = longWindows;
    Plant(longWindows + "\\INF\\QNLEGACY.INF", Inf("QNAUDIO"));

    SetupMachine shortWindows;
    const std::string longInf =
        "C:\\WINDOWS\\INF\\OTHER\\QuarnelQNAUDIO5740PCIAudioDriverGenerationTwo.INF";
    const std::string cutAt63 = longInf.substr(0, 63);
    shortWindows.files.AddFile(longInf, Inf("QNAUDIO"));
    shortWindows.files.AddFile(longInf.substr(0, longInf.size() - 3) + "PNF", "pnf");
    shortWindows.files.AddFile(cutAt63, Inf("QNAUDIO decoy that must stay"));

    RemoveLegacyInfFiles(machine.os());
    RemoveLegacyInfFiles(shortWindows.os());

    EXPECT_FALSE(Exists(longWindows + "\\INF\\QNLEGACY.INF"));
    EXPECT_FALSE(Exists(longWindows + "\\INF\\QNLEGACY.PNF"));
    EXPECT_FALSE(shortWindows.files.Exists(longInf));
    EXPECT_FALSE(shortWindows.files.Exists(longInf.substr(0, longInf.size() - 3) + "PNF"));
    EXPECT_TRUE(shortWindows.files.Exists(cutAt63));
}

// Windows matches the patterns against short names as well: these files
// turn up in the scans as "QN5740~1.INF" and "OEM12~1.INF", but are no INF
// files. They are neither read nor deleted, and nothing of theirs is taken
// for a precompiled partner.
TEST_F(LegacyInfCleanup, FilesFoundOnlyByTheirShortNamesAreLeftAlone)
{
    machine.files.AddFile("C:\\WINDOWS\\INF\\QN5740.INFO", Inf("QNAUDIO 5740 PCI Audio"));
    machine.files.AddFile("C:\\WINDOWS\\INF\\QN5740.PNFO", "keep");
    machine.files.AddFile("C:\\WINDOWS\\INF\\QN5740.PNF", "keep too");
    machine.files.AddFile("C:\\WINDOWS\\INF\\oem12.inf_old", Inf("Quarnel Audio"));
    Plant("C:\\WINDOWS\\INF\\qn5741.inf", Inf("QNAUDIO 5740 PCI Audio"));
    RemoveLegacyInfFiles(machine.os());

    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QN5740.INFO"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QN5740.PNFO"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\QN5740.PNF"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\oem12.inf_old"));
    for (const std::string& read : machine.log().Details("GetPrivateProfileStringA"))
        EXPECT_EQ(read.find("INFO"), std::string::npos) << read;
    // A real INF of any letter case still goes.
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\qn5741.inf"));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\INF\\qn5741.PNF"));
}

TEST_F(LegacyInfCleanup, NothingToFindChangesNothing)
{
    machine.files.AddFile("C:\\WINDOWS\\INF\\machine.inf", Inf("Standard"));
    RemoveLegacyInfFiles(machine.os());
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\machine.inf"));
    EXPECT_TRUE(machine.log().Details("DeleteFileA").empty());
    EXPECT_EQ(machine.log().Count("GetWindowsDirectoryA"), 1u);
}

}  // namespace
