// GetPrivateProfileIntA on the simulated machine reads numbers as Windows
// does: no overflow check, only the low 32 bits of the number count. A
// setup.ini with "WebSetup=4294967297" therefore means WebSetup 1.
#include <gtest/gtest.h>

#include "sim/sim_machine.h"

namespace {

class ProfileInt : public ::testing::Test {
protected:
    sim::SimMachine machine;

    int Read(const std::string& value, int defaultValue = 7) {
        machine.files.AddFile("D:\\setup.ini", "[InstallOption]\r\nWebSetup=" + value + "\r\n");
        return machine.os().profiles.GetInt("InstallOption", "WebSetup", defaultValue,
                                            "D:\\setup.ini");
    }
};

TEST_F(ProfileInt, NumbersBeyondThirtyTwoBitsKeepTheirLowBits)
{
    EXPECT_EQ(Read("4294967296"), 0);
    EXPECT_EQ(Read("4294967297"), 1);
    EXPECT_EQ(Read("-4294967297"), -1);
    EXPECT_EQ(Read("2147483648"), -2147483647 - 1);
    EXPECT_EQ(Read("-2147483648"), -2147483647 - 1);
    // Nineteen digits and more: beyond what a 64-bit number holds.
    EXPECT_EQ(Read("9223372036854775807"), -1);
    EXPECT_EQ(Read("9223372036854775808"), 0);
    EXPECT_EQ(Read("18446744073709551617"), 1);
    EXPECT_EQ(Read("99999999999999999999"), 1661992959);
    EXPECT_EQ(Read("-99999999999999999999"), -1661992959);
}

TEST_F(ProfileInt, OnlyTheFirstTwentyNineCharactersAreRead)
{
    const std::string first29 = "12345678901234567890123456789";
    EXPECT_EQ(Read(first29), 1849262357);
    EXPECT_EQ(Read(first29 + "0000"), 1849262357);
    EXPECT_EQ(Read(std::string(28, '0') + "5"), 5);
    EXPECT_EQ(Read(std::string(29, '0') + "5"), 0);
}

TEST_F(ProfileInt, SignsPrefixesAndTrailingText)
{
    EXPECT_EQ(Read("+1"), 1);
    EXPECT_EQ(Read("-1", 1), -1);
    EXPECT_EQ(Read("42A94967297"), 42);
    EXPECT_EQ(Read("B4294967297"), 0);
    EXPECT_EQ(Read("- 5"), 0);
    EXPECT_EQ(Read("0x1F"), 31);
    EXPECT_EQ(Read("0o17"), 15);
    EXPECT_EQ(Read("0b101"), 5);
    EXPECT_EQ(Read("0X1F"), 0);  // the prefixes are lower case only
    EXPECT_EQ(Read("-0x10"), -16);
    EXPECT_EQ(Read("0xFFFFFFFFF"), -1);
}

TEST_F(ProfileInt, AnEmptyValueGivesTheDefault)
{
    EXPECT_EQ(Read(""), 7);
    EXPECT_EQ(Read("\"\""), 7);
    EXPECT_EQ(Read("-"), 0);
}

}  // namespace
