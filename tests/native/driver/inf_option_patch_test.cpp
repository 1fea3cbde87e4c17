// The driver options written into a staged INF, one digit per option line.
#include <gtest/gtest.h>

#include "driver/inf_option_patch.h"
#include "support/driver_media.h"
#include "support/setup_machine.h"

namespace {

using driver_media::DriverInf;
using driver_media::FixedInfOptions;
using driver_media::kEnableLegacyLine;
using driver_media::kJackConfigLine;

constexpr const char* kInf = "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF";
constexpr std::size_t kDigitOffset = 48;

// `text` with the value digit of the first line that starts with `line` replaced.
std::string WithDigit(std::string text, const std::string& line, char digit)
{
    std::size_t start = text.find(line);
    text[start + kDigitOffset] = digit;
    return text;
}

class InfPatch : public ::testing::Test {
protected:
    SetupMachine machine;
    FixedInfOptions options;

    InfPatch() { options.lineInRear = true; }  // the dialog's defaults

    std::string Patch(const std::string& text) {
        machine.files.AddFile(kInf, text, platform::kAttributeNormal);
        PatchInfOptions(machine.os(), options, kInf);
        return *machine.files.Read(kInf);
    }
};

TEST_F(InfPatch, DefaultsChangeOnlyTheJackDigitOfTheShippedInf)
{
    const std::string shipped = DriverInf();
    const std::string patched = Patch(shipped);
    EXPECT_EQ(patched, WithDigit(shipped, kJackConfigLine, '1'));
    EXPECT_NE(patched.find("\"EnableLegacy\",    0x00010001,0x03,"), std::string::npos);
    EXPECT_NE(patched.find("\"JackConfig\",      0x00010001,0x01,"), std::string::npos);
    // One byte written in place and flushed; at the end the file is flushed
    // at its end and closed.
    EXPECT_TRUE(machine.clock.Pauses().empty());
    const std::string inf = kInf;
    const std::string digit = std::to_string(shipped.find(kJackConfigLine) + kDigitOffset);
    EXPECT_EQ(machine.log().Sequence({"fseek", "fputc", "fflush", "fclose"}),
              (std::vector<std::string>{"fseek " + inf + " 0", "fseek " + inf + " " + digit,
                                        "fputc " + inf + " @" + digit + " '1'", "fflush " + inf,
                                        "fseek " + inf + " end", "fflush " + inf,
                                        "fclose " + inf}));
}

// A line whose offset cannot be told is never patched: a digit written at
// offset 48 of an unknown place would land inside another line.
TEST_F(InfPatch, AFailedTellWritesNothing)
{
    options.legacyDisabled = true;
    machine.faults.FailAlways("ftell");
    const std::string shipped = DriverInf();
    EXPECT_EQ(Patch(shipped), shipped);
    EXPECT_EQ(machine.log().Count("fputc"), 0u);
}

// Nor is a line whose digit cannot be reached: the stream then stands at
// the start of the next line.
TEST_F(InfPatch, AFailedSeekToTheDigitWritesNothing)
{
    options.legacyDisabled = true;
    const std::string shipped = DriverInf();
    const std::size_t legacyDigit = shipped.find(kEnableLegacyLine) + kDigitOffset;
    const std::size_t jackDigit = shipped.find(kJackConfigLine) + kDigitOffset;
    for (std::size_t digit : {legacyDigit, jackDigit}) {
        SetupMachine fresh;
        fresh.faults.Fail("fseek", std::string(kInf) + " " + std::to_string(digit));
        fresh.files.AddFile(kInf, shipped, platform::kAttributeNormal);
        PatchInfOptions(fresh.os(), options, kInf);
        const std::string patched = *fresh.files.Read(kInf);
        EXPECT_EQ(patched[legacyDigit], digit == legacyDigit ? '3' : '2');
        EXPECT_EQ(patched[jackDigit], digit == jackDigit ? '5' : '1');
        EXPECT_EQ(fresh.log().Count("fputc"), 1u);
        EXPECT_EQ(patched.size(), shipped.size());
    }
}

// The legacy digit is flushed before the jack pass reads: where the rewind
// fails, the pass reads on from the legacy line, which the jack line follows.
TEST_F(InfPatch, AFailedRewindAfterTheLegacyWriteReadsOnFromThere)
{
    options.legacyDisabled = true;
    machine.faults.Fail("fseek", std::string(kInf) + " 0");
    const std::string shipped = DriverInf();
    EXPECT_EQ(Patch(shipped), WithDigit(WithDigit(shipped, kEnableLegacyLine, '2'),
                                        kJackConfigLine, '1'));
}

TEST_F(InfPatch, DisabledLegacyDeviceWritesTwoAfterAShortPause)
{
    options.legacyDisabled = true;
    const std::string shipped = DriverInf();
    EXPECT_EQ(Patch(shipped), WithDigit(WithDigit(shipped, kEnableLegacyLine, '2'),
                                        kJackConfigLine, '1'));
    auto writes = machine.log().Sequence({"Sleep", "fputc"});
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0], "Sleep 100");
    EXPECT_NE(writes[1].find("'2'"), std::string::npos);
    EXPECT_NE(writes[2].find("'1'"), std::string::npos);
}

TEST_F(InfPatch, JackDigitFollowsTheBoxesUnlessTheSoundCardIsChosen)
{
    struct Case {
        bool soundCard, rear, centre, mic;
        char digit;
    };
    const Case cases[] = {
        {false, false, false, false, '0'}, {false, true, false, false, '1'},
        {false, false, true, false, '2'},  {false, false, false, true, '4'},
        {false, true, false, true, '5'},   {false, true, true, true, '7'},
        {true, true, true, true, '0'},
    };
    for (const Case& c : cases) {
        SetupMachine fresh;
        FixedInfOptions chosen;
        chosen.soundCard = c.soundCard;
        chosen.lineInRear = c.rear;
        chosen.lineInCentre = c.centre;
        chosen.micSubwoofer = c.mic;
        fresh.files.AddFile(kInf, DriverInf());
        PatchInfOptions(fresh.os(), chosen, kInf);
        EXPECT_EQ(*fresh.files.Read(kInf), WithDigit(DriverInf(), kJackConfigLine, c.digit))
            << "digit " << c.digit;
    }
}

TEST_F(InfPatch, LfLineEndsAndAnUnendedLastLineGetTheirDigitInPlace)
{
    options.legacyDisabled = true;
    // A relative seek made for CR LF lands one byte early here and would turn
    // 0x05 into 0x15.
    const std::string lfOnly = DriverInf("\n");
    EXPECT_EQ(Patch(lfOnly), WithDigit(WithDigit(lfOnly, kEnableLegacyLine, '2'),
                                       kJackConfigLine, '1'));

    SetupMachine lastLine;
    const std::string unended = std::string("[QNAUDIO.AddReg]\r\n") + kEnableLegacyLine +
                                "\r\n" + kJackConfigLine;
    lastLine.files.AddFile(kInf, unended);
    PatchInfOptions(lastLine.os(), options, kInf);
    const std::string patched = *lastLine.files.Read(kInf);
    EXPECT_EQ(patched, WithDigit(WithDigit(unended, kEnableLegacyLine, '2'), kJackConfigLine, '1'));
    EXPECT_EQ(patched.size(), unended.size());
}

TEST_F(InfPatch, OnlyTheExactTextAtALineStartMatches)
{
    const std::string lookalikes =
        std::string(" ") + kJackConfigLine + "\r\n" +                      // leading blank
        "hkr,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0\r\n" +  // root in lower case
        "HKR,\"Settings\",\"JackConfig\",     0x00010001,0x05,0,0,0\r\n" +   // one blank less
        "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x04,0,0,0\r\n" +  // another value
        "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,\r\n" +   // cut short
        "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0\n" +       // shorter, LF
        "; " + kJackConfigLine + "\r\n";
    EXPECT_EQ(Patch(lookalikes), lookalikes);
    EXPECT_EQ(machine.log().Count("fputc"), 0u);
    EXPECT_EQ(machine.log().Count("fclose"), 1u);
}

TEST_F(InfPatch, TextAfterTheLineDoesNotMatterAndLaterMatchesStayAsTheyAre)
{
    const std::string text = std::string(kJackConfigLine) + " ; jack sharing\r\n" +
                             kJackConfigLine + "\r\n";
    std::string expected = text;
    expected[kDigitOffset] = '1';
    EXPECT_EQ(Patch(text), expected);
}

TEST_F(InfPatch, ALongLineGivesNoFalseLineStartInItsMiddle)
{
    // At 1023 characters a line reader with a fixed buffer would start a new
    // "line" right at the option text.
    const std::string padding(1023, 'x');
    const std::string text = padding + kJackConfigLine + "\r\n" + kJackConfigLine + "\r\n";
    std::string expected = text;
    expected[padding.size() + std::string(kJackConfigLine).size() + 2 + kDigitOffset] = '1';
    EXPECT_EQ(Patch(text), expected);
}

// Some editors and tools leave a zero byte in an INF. It is a byte like any
// other, not the end of the file: a line may begin with one, and the text
// after one inside a line is not a line start.
TEST_F(InfPatch, AZeroByteBeforeTheOptionLinesIsNoEndOfFile)
{
    options.legacyDisabled = true;
    const std::string zeroLines = std::string("\0; saved by an editor\r\n", 23) +
                                  std::string(";\0", 2) + kJackConfigLine + "\r\n";
    EXPECT_EQ(Patch(zeroLines + DriverInf()),
              zeroLines + WithDigit(WithDigit(DriverInf(), kEnableLegacyLine, '2'),
                                    kJackConfigLine, '1'));
}

// A last line without its end that is not an option line, even one that
// begins like one, ends the search without a write.
TEST_F(InfPatch, AnUnendedLastLineWithoutTheOptionsStaysUnchanged)
{
    options.legacyDisabled = true;
    const std::string jackStart = std::string(kJackConfigLine).substr(0, 30);
    for (const std::string& text :
         {std::string("[Version]\r\nSignature=\"$Windows NT$\""),
          std::string("[QNAUDIO.AddReg]\r\n") + jackStart,
          std::string(kJackConfigLine).substr(0, 48), std::string("x")}) {
        SetupMachine fresh;
        fresh.files.AddFile(kInf, text);
        PatchInfOptions(fresh.os(), options, kInf);
        EXPECT_EQ(fresh.files.Read(kInf), text);
        EXPECT_EQ(fresh.log().Count("fputc"), 0u) << text;
        EXPECT_EQ(fresh.log().Count("fclose"), 1u);
    }
}

TEST_F(InfPatch, FilesWithoutTheLinesOrThatDoNotOpenStayUnchanged)
{
    options.legacyDisabled = true;
    EXPECT_EQ(Patch(""), "");
    EXPECT_EQ(Patch("[Version]\r\nSignature=\"$Windows NT$\"\r\n"),
              "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
    EXPECT_EQ(machine.log().Count("fputc"), 0u);
    EXPECT_TRUE(machine.clock.Pauses().empty());

    SetupMachine readOnly;
    readOnly.files.AddFile(kInf, DriverInf(), platform::kAttributeReadOnly);
    PatchInfOptions(readOnly.os(), options, kInf);
    EXPECT_EQ(readOnly.files.Read(kInf), DriverInf());

    SetupMachine missing;
    PatchInfOptions(missing.os(), options, kInf);
    EXPECT_FALSE(missing.files.Exists(kInf));
}

}  // namespace
