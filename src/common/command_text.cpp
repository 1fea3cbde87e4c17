#include "common/command_text.h"

std::string ProgramCommand(const std::string& programPath, const std::string& arguments)
{
    if (programPath.find(' ') == std::string::npos)
        return programPath + arguments;
    return "\"" + programPath + "\"" + arguments;
}
