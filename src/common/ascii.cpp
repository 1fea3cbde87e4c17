#include "common/ascii.h"

bool SameTextIgnoringCase(const char* text, const char* other)
{
    for (; *text != '\0' && *other != '\0'; ++text, ++other) {
        if (AsciiUpper(*text) != AsciiUpper(*other))
            return false;
    }
    return *text == *other;
}

std::string AsciiUpper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        c = AsciiUpper(c);
    return upper;
}
