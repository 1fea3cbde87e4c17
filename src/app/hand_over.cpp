#include "app/hand_over.h"

#include "app/command_line.h"
#include "common/ascii.h"
#include "common/command_text.h"

namespace {

bool SamePathIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    }
    return true;
}

}  // namespace

void HandOverToMediaSetup(platform::Platform& os, const std::string& sourceDir,
                          const std::string& commandLine, int driverOnly)
{
    std::string mediaSetup = sourceDir + "Setup.exe";
    if (SamePathIgnoringCase(mediaSetup, os.processes.ModulePath()))
        return;

    std::string arguments;
    if (IsApLiteral(commandLine))
        arguments = " /AP";
    else if (IsDriverLiteral(commandLine) || driverOnly != 0)
        arguments = " /DRIVER";
    os.processes.RunCommand(ProgramCommand(mediaSetup, arguments), platform::kShowShow);
}
