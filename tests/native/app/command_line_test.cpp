#include <gtest/gtest.h>

#include "app/command_line.h"
#include "common/command_text.h"

namespace {

TEST(CommandLine, UpperCasingMakesAnyLetterCaseMatch)
{
    EXPECT_TRUE(IsApLiteral(UpperCased("/ap")));
    EXPECT_TRUE(IsApLiteral(UpperCased("-Ap")));
    EXPECT_TRUE(IsApLiteral(UpperCased("ap")));
    EXPECT_TRUE(IsDriverLiteral(UpperCased("/driver")));
    EXPECT_TRUE(IsDriverLiteral(UpperCased("Driver")));
    EXPECT_TRUE(IsDriverLiteral(UpperCased("-DRIVER")));
    EXPECT_TRUE(IsReplaceMixerLiteral(UpperCased("-ReplaceMixer")));
    for (const char* silent : {"/s", "-S", "/Silent", "-silent"})
        EXPECT_TRUE(IsSilentLiteral(UpperCased(silent))) << silent;
    EXPECT_EQ(UpperCased("/x-1\xE4"), "/X-1\xE4");  // letters only, ASCII only
    // The edges of the letters and their neighbours.
    EXPECT_EQ(UpperCased("az`{AZ@["), "AZ`{AZ@[");
    // The C runtime's text ends at its first zero byte.
    EXPECT_EQ(UpperCased(std::string("ap\0x", 4)), "AP");
}

TEST(CommandLine, OnlyWholeLiteralsMatch)
{
    EXPECT_FALSE(IsApLiteral("/AP "));
    EXPECT_FALSE(IsApLiteral(" /AP"));
    EXPECT_FALSE(IsApLiteral("/AP /DRIVER"));
    EXPECT_FALSE(IsDriverLiteral("/AP /DRIVER"));
    EXPECT_FALSE(IsDriverLiteral("/DRIVERS"));
    EXPECT_FALSE(IsApLiteral("\\AP"));
    EXPECT_FALSE(IsReplaceMixerLiteral("/REPLACEMIXER"));
    EXPECT_FALSE(IsApLiteral(""));
    for (const char* notSilent : {"/S ", "S", "SILENT", "/S /DRIVER", "/SIL", "\\S"})
        EXPECT_FALSE(IsSilentLiteral(notSilent)) << notSilent;
}

TEST(CommandText, QuotesOnlyProgramPathsWithBlanks)
{
    EXPECT_EQ(ProgramCommand("D:\\Setup.exe", " /AP"), "D:\\Setup.exe /AP");
    EXPECT_EQ(ProgramCommand("E:\\Audio Setup\\Setup.exe", " /AP"),
              "\"E:\\Audio Setup\\Setup.exe\" /AP");
    EXPECT_EQ(ProgramCommand("E:\\Audio Setup\\Setup.exe"), "\"E:\\Audio Setup\\Setup.exe\"");
}

}  // namespace
