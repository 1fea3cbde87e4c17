#include <gtest/gtest.h>

#include "common/source_dir.h"

namespace {

TEST(SourceDir, FullProgramPathsGiveTheirFolder)
{
    EXPECT_EQ(DeriveSourceDir("D:\\W2KSETUP.EXE", "C:\\ANY"), "D:\\");
    EXPECT_EQ(DeriveSourceDir("E:\\DRIVERS\\AUDIO\\SETUP.EXE", "C:\\ANY"), "E:\\DRIVERS\\AUDIO\\");
    EXPECT_EQ(DeriveSourceDir("Z:\\media\\W2KSETUP.EXE", "C:\\windows"), "Z:\\media\\");
    EXPECT_EQ(DeriveSourceDir("E:\\Audio Setup\\W2KSetup.exe", "C:\\"), "E:\\Audio Setup\\");
}

TEST(SourceDir, PathsWithoutDriveTakeTheCurrentDrive)
{
    EXPECT_EQ(DeriveSourceDir("\\AUDIO\\SETUP.EXE", "D:\\TEMP"), "D:\\AUDIO\\");
    EXPECT_EQ(DeriveSourceDir("AUDIO\\SETUP.EXE", "D:\\TEMP"), "D:AUDIO\\");
    // A second character that is a backslash gets one after the drive, also
    // where a doubled backslash leaves a folder of just two characters.
    EXPECT_EQ(DeriveSourceDir("X\\Y\\SETUP.EXE", "D:\\TEMP"), "D:\\X\\Y\\");
    EXPECT_EQ(DeriveSourceDir("x\\\\W2KSetup.exe", "D:\\TEMP"), "D:\\x\\");
}

TEST(SourceDir, OddFirstArguments)
{
    // No folder at all: the name itself stays, on the current drive.
    EXPECT_EQ(DeriveSourceDir("SETUP.EXE", "D:\\TEMP"), "D:SETUP.EXE\\");
    // A backslash only at index 0 is not taken as the folder's end.
    EXPECT_EQ(DeriveSourceDir("\\SETUP.EXE", "D:\\TEMP"), "D:\\SETUP.EXE\\");
    EXPECT_EQ(DeriveSourceDir("", "D:\\TEMP"), "D:\\");
    // A current directory without a colon is used whole.
    EXPECT_EQ(DeriveSourceDir("\\AUDIO\\SETUP.EXE", "\\\\server\\share"),
              "\\\\server\\share\\AUDIO\\");
    // A folder that already ends in a backslash gets no second one.
    EXPECT_EQ(DeriveSourceDir("D:\\\\SETUP.EXE", "C:\\"), "D:\\");
}

TEST(SourceDir, LongPathsAreKeptWholeNotCut)
{
    std::string folder = "D:\\" + std::string(300, 'A');
    EXPECT_EQ(DeriveSourceDir(folder + "\\SETUP.EXE", "C:\\"), folder + "\\");
    std::string current = "C:\\" + std::string(300, 'B');
    EXPECT_EQ(DeriveSourceDir("X.EXE", current), "C:X.EXE\\");
}

}  // namespace
