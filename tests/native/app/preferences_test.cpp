// The default sound format and the CD player switch, made on every start.
#include <gtest/gtest.h>

#include "app/preferences.h"
#include "support/setup_machine.h"

namespace {

using platform::RootKey;

constexpr const char* kAudio = "Software\\Microsoft\\Multimedia\\Audio";
constexpr const char* kDefaultAudio = ".Default\\Software\\Microsoft\\Multimedia\\Audio";

class SoundFormat : public ::testing::Test {
protected:
    SetupMachine machine;

    SoundFormat() { machine.registry.CreateKey(RootKey::Users, kDefaultAudio); }

    void Formats(const std::string& text) {
        machine.registry.PutString(RootKey::CurrentUser, kAudio, "SystemFormats", text);
    }
    std::optional<std::string> DefaultFormat(RootKey root, const char* path) {
        return machine.registry.Text(root, path, "DefaultFormat");
    }
};

TEST(ChooseCdFormat, OnlyCommaTerminatedEntriesAreExamined)
{
    EXPECT_EQ(ChooseCdFormat("CD Quality,Radio Quality,Telephone Quality"), "CD Quality");
    EXPECT_EQ(ChooseCdFormat("Radio Quality,Telephone Quality,CD Quality"), "");
    EXPECT_EQ(ChooseCdFormat("My CD Mix,CD Quality,"), "My CD Mix");
    EXPECT_EQ(ChooseCdFormat("cd quality,"), "");
    EXPECT_EQ(ChooseCdFormat("CD Quality"), "");
    EXPECT_EQ(ChooseCdFormat(",,Radio,xCDx,"), "xCDx");
    EXPECT_EQ(ChooseCdFormat(""), "");
}

TEST_F(SoundFormat, ChosenFormatBecomesTheDefaultForBothProfiles)
{
    Formats("CD Quality,Radio Quality,Telephone Quality");
    SetDefaultSoundFormat(machine.os());
    EXPECT_EQ(DefaultFormat(RootKey::CurrentUser, kAudio), "CD Quality");
    EXPECT_EQ(DefaultFormat(RootKey::Users, kDefaultAudio), "CD Quality");
    // REG_SZ of the length of the name, without its terminating zero.
    auto stored = machine.registry.Value(RootKey::CurrentUser, kAudio, "DefaultFormat");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, sim::kRegSz);
    EXPECT_EQ(stored->data, "CD Quality");
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
}

TEST_F(SoundFormat, NothingIsWrittenWithoutACdEntry)
{
    Formats("Radio Quality,Telephone Quality,CD Quality");
    SetDefaultSoundFormat(machine.os());
    EXPECT_FALSE(DefaultFormat(RootKey::CurrentUser, kAudio));
    EXPECT_FALSE(DefaultFormat(RootKey::Users, kDefaultAudio));
    EXPECT_TRUE(machine.log().Details("RegSetValueExA").empty());
}

TEST_F(SoundFormat, LongNamesAreUsedWhole)
{
    std::string name = "Studio CD Quality with a name far longer than thirty-one characters";
    Formats(name + ",Radio,");
    SetDefaultSoundFormat(machine.os());
    EXPECT_EQ(DefaultFormat(RootKey::CurrentUser, kAudio), name);
    EXPECT_EQ(DefaultFormat(RootKey::Users, kDefaultAudio), name);
}

TEST_F(SoundFormat, AListFillingItsBufferWithoutTerminatorIsNotReadPastItsEnd)
{
    // 1024 bytes exactly, no zero: the last entry ends at the data's end.
    std::string text = std::string(1000, 'x') + ",CD";
    text += std::string(1024 - text.size() - 1, 'y') + ",";
    ASSERT_EQ(text.size(), 1024u);
    machine.registry.PutValue(RootKey::CurrentUser, kAudio, "SystemFormats",
                              sim::SimRegValue{sim::kRegSz, text});
    SetDefaultSoundFormat(machine.os());
    EXPECT_EQ(DefaultFormat(RootKey::CurrentUser, kAudio), "CD" + std::string(20, 'y'));

    // One byte more does not fit the 1024-byte buffer and is not read at all.
    SetupMachine other;
    other.registry.PutValue(RootKey::CurrentUser, kAudio, "SystemFormats",
                            sim::SimRegValue{sim::kRegSz, text + "z"});
    SetDefaultSoundFormat(other.os());
    EXPECT_FALSE(other.registry.Text(RootKey::CurrentUser, kAudio, "DefaultFormat"));
}

TEST_F(SoundFormat, EachProfileIsWrittenWhenItsKeyOpens)
{
    Formats("CD Quality,");
    machine.faults.Fail("RegOpenKeyExA", "HKCU", 1);  // the first open: no reading at all
    SetDefaultSoundFormat(machine.os());
    EXPECT_FALSE(DefaultFormat(RootKey::Users, kDefaultAudio));

    SetupMachine second;
    second.registry.PutString(RootKey::CurrentUser, kAudio, "SystemFormats", "CD Quality,");
    // The default profile's key is missing; the current user still gets the value.
    SetDefaultSoundFormat(second.os());
    EXPECT_EQ(second.registry.Text(RootKey::CurrentUser, kAudio, "DefaultFormat"), "CD Quality");

    SetupMachine third;
    third.registry.PutString(RootKey::CurrentUser, kAudio, "SystemFormats", "CD Quality,");
    third.registry.CreateKey(RootKey::Users, kDefaultAudio);
    third.faults.Fail("RegOpenKeyExA", "HKCU", 1, 1);  // the second open, for writing
    SetDefaultSoundFormat(third.os());
    EXPECT_FALSE(third.registry.Text(RootKey::CurrentUser, kAudio, "DefaultFormat"));
    EXPECT_EQ(third.registry.Text(RootKey::Users, kDefaultAudio, "DefaultFormat"), "CD Quality");
}

TEST_F(SoundFormat, UnreadableListClosesTheKeyAndStops)
{
    machine.registry.CreateKey(RootKey::CurrentUser, kAudio);
    SetDefaultSoundFormat(machine.os());
    EXPECT_EQ(machine.log().Count("RegCloseKey"), 1u);
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
    EXPECT_TRUE(machine.log().Details("RegSetValueExA").empty());
}

TEST(CdPlayerSetting, NonZeroWritesOneAndAMissingKeyResetsToZero)
{
    SetupMachine machine;
    machine.SetupIni("Default", "UsingCDDA", "5");
    ApplyCdPlayerSetting(machine.os(), "D:\\setup.ini");
    EXPECT_EQ(machine.profiles.Entry("QNCDPLAY.INI", "CD PLAYER", "UsingCDDA"), "1");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\QNCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=1\r\n");

    // A later start from a media without the key puts the switch back to 0.
    ApplyCdPlayerSetting(machine.os(), "D:\\other.ini");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\QNCDPLAY.INI"), "[CD PLAYER]\r\nUsingCDDA=0\r\n");
}

TEST(CdPlayerSetting, OtherContentsOfTheFileStay)
{
    SetupMachine machine;
    machine.files.AddFile("C:\\WINDOWS\\QNCDPLAY.INI",
                          "[Options]\r\nVolume=7\r\n[cd player]\r\nUsingCDDA=1\r\nTrack=3\r\n");
    ApplyCdPlayerSetting(machine.os(), "D:\\setup.ini");
    EXPECT_EQ(machine.files.Read("C:\\WINDOWS\\QNCDPLAY.INI"),
              "[Options]\r\nVolume=7\r\n[cd player]\r\nUsingCDDA=0\r\nTrack=3\r\n");
}

}  // namespace
