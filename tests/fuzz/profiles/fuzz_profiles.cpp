// The simulated profile reader and writer. The input is five lines (a
// section, a key, a value to write, and a second section and key to watch)
// followed by the bytes of the profile file.
//
// Reading: a missing entry gives the default; a buffer of n characters gives
// the first n - 1 characters of the value; a number does not depend on the
// default unless the value is empty, and a decimal value gives its low 32
// bits, however many digits it has. Writing a value that can be read back
// gives it back, leaves every other entry as it was, and writing it again
// changes no byte of the file.
#include <cctype>
#include <cstdint>

#include "fuzz_check.h"
#include "sim/sim_machine.h"

namespace {

constexpr const char* kProfile = "D:\\FUZZ.INI";
constexpr std::size_t kValueCharactersRead = 29;  // GetPrivateProfileIntA's buffer

struct Lookup {
    bool present;
    std::string value;
};

// Whether the entry exists, told apart from its default by asking with two.
Lookup Look(platform::Profiles& profiles, const std::string& section, const std::string& key,
            std::size_t bufferSize)
{
    const std::string first = profiles.GetString(section, key, "\x01", bufferSize, kProfile);
    const std::string second = profiles.GetString(section, key, "\x02", bufferSize, kProfile);
    if (first == second)
        return {true, first};
    FUZZ_CHECK(first == "\x01" && second == "\x02");
    return {false, ""};
}

bool IsDecimal(const std::string& text)
{
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

// The low 32 bits of a decimal number, summed digit by digit from the right.
std::uint32_t LowBitsOfDecimal(const std::string& text)
{
    std::uint32_t sum = 0;
    std::uint32_t power = 1;
    for (std::size_t i = text.size(); i > 0 && text[i - 1] >= '0' && text[i - 1] <= '9'; --i) {
        sum += static_cast<std::uint32_t>(text[i - 1] - '0') * power;
        power *= 10;
    }
    return text[0] == '-' ? 0u - sum : sum;
}

void CheckReading(platform::Profiles& profiles, const std::string& section,
                  const std::string& key, std::size_t largestValue)
{
    const Lookup entry = Look(profiles, section, key, largestValue + 2);
    const std::size_t length = entry.value.size();
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2}, length / 2, length,
                             length + 1}) {
        const std::string read = profiles.GetString(section, key, "", size, kProfile);
        FUZZ_CHECK(read == (size == 0 ? "" : entry.value.substr(0, size - 1)));
    }

    const int withOne = profiles.GetInt(section, key, 1, kProfile);
    const int withTwo = profiles.GetInt(section, key, 2, kProfile);
    if (!entry.present || entry.value.empty()) {
        FUZZ_CHECK(withOne == 1 && withTwo == 2);
        return;
    }
    FUZZ_CHECK(withOne == withTwo);
    const std::string counted = entry.value.substr(0, kValueCharactersRead);
    if (IsDecimal(counted))
        FUZZ_CHECK(static_cast<std::uint32_t>(withOne) == LowBitsOfDecimal(counted));
}

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Text that stays one line and keeps its ends when the reader trims it.
bool IsOneTrimmedLine(const std::string& text)
{
    if (text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return false;
    return text.empty() || (!IsSpace(text.front()) && !IsSpace(text.back()));
}

bool ReadsBackAsWritten(const std::string& section, const std::string& key,
                        const std::string& value)
{
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
                        value.back() == value[0];
    return !section.empty() && IsOneTrimmedLine(section) &&
           section.find(']') == std::string::npos && !key.empty() && IsOneTrimmedLine(key) &&
           key.find('=') == std::string::npos && key[0] != ';' && key[0] != '[' &&
           IsOneTrimmedLine(value) && !quoted;
}

void CheckWriting(sim::SimMachine& machine, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& otherSection,
                  const std::string& otherKey, std::size_t largestValue)
{
    platform::Profiles& profiles = machine.os().profiles;
    const bool sameEntry = sim::EqualNoCase(section, otherSection) && sim::EqualNoCase(key, otherKey);
    const Lookup otherBefore = Look(profiles, otherSection, otherKey, largestValue + 2);

    FUZZ_CHECK(profiles.WriteString(section, key, value, kProfile));
    const Lookup written = Look(profiles, section, key, largestValue + value.size() + 2);
    FUZZ_CHECK(written.present && written.value == value);
    if (!sameEntry) {
        const Lookup otherAfter = Look(profiles, otherSection, otherKey, largestValue + 2);
        FUZZ_CHECK(otherAfter.present == otherBefore.present);
        FUZZ_CHECK(otherAfter.value == otherBefore.value);
    }

    const auto once = machine.files.Read(kProfile);
    FUZZ_CHECK(profiles.WriteString(section, key, value, kProfile));
    FUZZ_CHECK(machine.files.Read(kProfile) == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input = fuzz::Bytes(data, size);
    const std::string section = fuzz::TakeLine(input);
    const std::string key = fuzz::TakeLine(input);
    const std::string value = fuzz::TakeLine(input);
    const std::string otherSection = fuzz::TakeLine(input);
    const std::string otherKey = fuzz::TakeLine(input);
    const std::string& fileBytes = input;

    sim::SimMachine machine;
    machine.files.AddFile(kProfile, fileBytes);
    platform::Profiles& profiles = machine.os().profiles;
    CheckReading(profiles, section, key, fileBytes.size());
    CheckReading(profiles, otherSection, otherKey, fileBytes.size());
    if (ReadsBackAsWritten(section, key, value))
        CheckWriting(machine, section, key, value, otherSection, otherKey, fileBytes.size());
    return 0;
}
