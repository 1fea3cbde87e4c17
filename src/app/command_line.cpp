#include "app/command_line.h"

#include "common/ascii.h"

void UpperCaseInPlace(char* text)
{
    for (; text && *text; ++text)
        *text = AsciiUpper(*text);
}

std::string UpperCased(const std::string& text)
{
    std::string upper = text.c_str();
    UpperCaseInPlace(upper.data());
    return upper;
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

bool IsSilentLiteral(const std::string& commandLine)
{
    return commandLine == "/S" || commandLine == "-S" || commandLine == "/SILENT" ||
           commandLine == "-SILENT";
}
