#include "sim/profile_int.h"

#include <cstdint>

namespace sim {

namespace {

constexpr std::size_t kValueBufferCharacters = 30;

// The value of `c` as a digit of any base up to 36, or -1.
int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return -1;
}

// The same 32 bits as a signed number, without relying on a narrowing cast.
int AsSigned(std::uint32_t bits)
{
    if (bits <= 0x7FFFFFFFu)
        return static_cast<int>(bits);
    return static_cast<int>(bits - 0x80000000u) - 0x7FFFFFFF - 1;
}

}  // namespace

int ProfileIntFromValue(const std::string& value, int defaultValue)
{
    const std::string text = value.substr(0, kValueBufferCharacters - 1);
    if (text.empty())
        return defaultValue;

    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    int base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char prefix = text[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }

    std::uint32_t number = 0;  // wraps around, as on Windows
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || digit >= base)
            break;
        number = number * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    return AsSigned(negative ? 0u - number : number);
}

}  // namespace sim
