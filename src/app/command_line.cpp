#include "app/command_line.h"

void UpperCaseInPlace(char* text)
{
    for (; text && *text; ++text) {
        if (*text >= 'a' && *text <= 'z')
            *text = static_cast<char>(*text - 'a' + 'A');
    }
}

bool IsReplaceMixerLiteral(const std::string& commandLine)
{
    return commandLine == "-REPLACEMIXER";
}

bool IsApLiteral(const std::string& commandLine)
{
    return commandLine == "/AP" || commandLine == "AP" || commandLine == "-AP";
}

bool IsDriverLiteral(const std::string& commandLine)
{
    return commandLine == "/DRIVER" || commandLine == "DRIVER" || commandLine == "-DRIVER";
}
