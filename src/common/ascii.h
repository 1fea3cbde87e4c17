// ASCII letter case, as the C runtime's upper-casing in the "C" locale does
// it: only 'a' to 'z' change, whatever the code page.
#pragma once

#include <string>

inline char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with its ASCII letters in upper case.
std::string AsciiUpper(const std::string& text);

// Whether the texts are the same but for the case of ASCII letters.
bool SameTextIgnoringCase(const char* text, const char* other);
