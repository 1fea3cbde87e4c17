// The command-line literals. The input is the command line's bytes; a zero
// byte in it ends the command line as the C runtime sees it.
//
// Upper-casing in place changes exactly the letters a to z before the
// terminating zero and nothing else, not even past that zero, and a second
// pass changes nothing. Each literal test on the upper-cased text equals a
// comparison of the original text with that literal's spellings, ignoring
// the case of ASCII letters; at most one kind of literal matches, and none
// matches a text that still has lower-case letters.
#include <vector>

#include "app/command_line.h"
#include "fuzz_check.h"

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualIgnoringAsciiCase(const std::string& text, const std::string& literal)
{
    if (text.size() != literal.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(literal[i]))
            return false;
    }
    return true;
}

bool MatchesAnyIgnoringCase(const std::string& text, const std::vector<std::string>& spellings)
{
    for (const std::string& spelling : spellings) {
        if (EqualIgnoringAsciiCase(text, spelling))
            return true;
    }
    return false;
}

bool HasLowerCaseLetter(const std::string& text)
{
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            return true;
    }
    return false;
}

// Upper-cases the bytes in place, in a buffer of exactly their size plus the
// terminating zero, so that a read or write beyond it is a finding.
std::vector<char> UpperCasedBuffer(const std::string& bytes)
{
    std::vector<char> buffer(bytes.begin(), bytes.end());
    buffer.push_back('\0');
    UpperCaseInPlace(buffer.data());
    return buffer;
}

void CheckUpperCasing(const std::string& bytes, const std::vector<char>& upper)
{
    const std::size_t terminator = bytes.find('\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char before = bytes[i];
        const bool letter = before >= 'a' && before <= 'z';
        if (i < terminator && letter)
            FUZZ_CHECK(upper[i] == before - 'a' + 'A');
        else
            FUZZ_CHECK(upper[i] == before);
    }
    FUZZ_CHECK(upper.back() == '\0');

    std::vector<char> again = upper;
    UpperCaseInPlace(again.data());
    FUZZ_CHECK(again == upper);
    UpperCaseInPlace(nullptr);  // a missing command line is left alone
}

void CheckLiterals(const std::string& commandLine, const std::string& upper)
{
    const bool replaceMixer = IsReplaceMixerLiteral(upper);
    const bool ap = IsApLiteral(upper);
    const bool driver = IsDriverLiteral(upper);
    FUZZ_CHECK(replaceMixer == MatchesAnyIgnoringCase(commandLine, {"-ReplaceMixer"}));
    FUZZ_CHECK(ap == MatchesAnyIgnoringCase(commandLine, {"/ap", "ap", "-ap"}));
    FUZZ_CHECK(driver == MatchesAnyIgnoringCase(commandLine, {"/driver", "driver", "-driver"}));
    FUZZ_CHECK(int(replaceMixer) + int(ap) + int(driver) <= 1);

    if (HasLowerCaseLetter(commandLine)) {
        FUZZ_CHECK(!IsReplaceMixerLiteral(commandLine));
        FUZZ_CHECK(!IsApLiteral(commandLine));
        FUZZ_CHECK(!IsDriverLiteral(commandLine));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes = fuzz::Bytes(data, size);
    const std::vector<char> upper = UpperCasedBuffer(bytes);
    CheckUpperCasing(bytes, upper);

    // The command line as the program compares it: up to its zero byte.
    const std::string commandLine = bytes.substr(0, bytes.find('\0'));
    CheckLiterals(commandLine, std::string(upper.data()));
    return 0;
}
