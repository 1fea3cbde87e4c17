#include <gtest/gtest.h>

#include "app/command_line.h"
#include "common/command_text.h"

namespace {

std::string Upper(std::string text)
{
    UpperCaseInPlace(text.data());
    return text;
}

TEST(CommandLine, UpperCasingMakesAnyLetterCaseMatch)
{
    EXPECT_TRUE(IsApLiteral(Upper("/ap")));
    EXPECT_TRUE(IsApLiteral(Upper("-Ap")));
    EXPECT_TRUE(IsApLiteral(Upper("ap")));
    EXPECT_TRUE(IsDriverLiteral(Upper("/driver")));
    EXPECT_TRUE(IsDriverLiteral(Upper("Driver")));
    EXPECT_TRUE(IsDriverLiteral(Upper("-DRIVER")));
    EXPECT_TRUE(IsReplaceMixerLiteral(Upper("-ReplaceMixer")));
    EXPECT_EQ(Upper("/x-1\xE4"), "/X-1\xE4");  // letters only, ASCII only
    // The edges of the letters and their neighbours.
    EXPECT_EQ(Upper("az`{AZ@["), "AZ`{AZ@[");
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
}

TEST(CommandText, QuotesOnlyProgramPathsWithBlanks)
{
    EXPECT_EQ(ProgramCommand("D:\\Setup.exe", " /AP"), "D:\\Setup.exe /AP");
    EXPECT_EQ(ProgramCommand("E:\\Audio Setup\\Setup.exe", " /AP"),
              "\"E:\\Audio Setup\\Setup.exe\" /AP");
    EXPECT_EQ(ProgramCommand("E:\\Audio Setup\\Setup.exe"), "\"E:\\Audio Setup\\Setup.exe\"");
}

}  // namespace
