#include "common/ascii.h"

bool SameTextIgnoringCase(const char* text, const char* other)
{
    for (; *text != '\0' && *other != '\0'; ++text, ++other) {
        if (AsciiUpper(*text) != AsciiUpper(*other))
            return false;
    }
    return *text == *other;
}
