#include <gtest/gtest.h>

#include "common/os_class.h"
#include "sim/windows_versions.h"

namespace {

struct Flags {
    bool win95, win98, winMe, winNt4, win2000, winXp;
};

Flags Classify(const platform::VersionInfo& version)
{
    OsClass os = ComputeOsClass(version);
    return {os.m_bWin95, os.m_bWin98, os.m_bWinME, os.m_bWinNT4, os.m_bWin2000, os.m_bWinXP};
}

void ExpectFlags(const platform::VersionInfo& version, const Flags& expected)
{
    Flags actual = Classify(version);
    EXPECT_EQ(actual.win95, expected.win95);
    EXPECT_EQ(actual.win98, expected.win98);
    EXPECT_EQ(actual.winMe, expected.winMe);
    EXPECT_EQ(actual.winNt4, expected.winNt4);
    EXPECT_EQ(actual.win2000, expected.win2000);
    EXPECT_EQ(actual.winXp, expected.winXp);
}

TEST(OsClass, EachVersionAsWineReportsIt)
{
    ExpectFlags(versions::kWindows95, {true, false, false, false, false, false});
    ExpectFlags(versions::kWindows98, {false, true, false, false, false, false});
    ExpectFlags(versions::kWindowsMe, {false, false, true, false, false, false});
    ExpectFlags(versions::kWindowsNt4, {false, false, false, true, false, false});
    ExpectFlags(versions::kWindows2000, {false, false, false, false, true, false});
    ExpectFlags(versions::kWindowsXp, {false, false, false, false, true, true});
    ExpectFlags(versions::kWindows7, {false, false, false, false, true, true});
}

TEST(OsClass, MillenniumStartsAtBuildWord0x0410)
{
    ExpectFlags({1, 4, 10, 0x04100000}, {false, false, true, false, false, false});
    ExpectFlags({1, 4, 10, 0x040FFFFF}, {false, true, false, false, false, false});
    // Windows 95 is told by its minor version alone, whatever the build says.
    ExpectFlags({1, 4, 0, 0x045A0BB8}, {true, false, false, false, false, false});
}

TEST(OsClass, XpIsTheNtFamilyFromBuild2600)
{
    ExpectFlags({2, 5, 1, 2599}, {false, false, false, false, true, false});
    ExpectFlags({2, 5, 0, 2600}, {false, false, false, false, true, true});
    // NT 4 never counts as XP, however high its build number.
    ExpectFlags({2, 4, 0, 2600}, {false, false, false, true, false, false});
}

TEST(OsClass, UnknownPlatformsSetNoFlag)
{
    ExpectFlags({0, 3, 10, 0}, {false, false, false, false, false, false});  // Win32s
    ExpectFlags({3, 5, 0, 2600}, {false, false, false, false, false, false});  // CE
}

}  // namespace
