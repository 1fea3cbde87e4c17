#include "app/hand_over.h"

#include "app/command_line.h"
#include "common/ascii.h"
#include "common/command_text.h"

void HandOverToMediaSetup(platform::Platform& os, const std::string& sourceDir,
                          const std::string& commandLine, int driverOnly)
{
    std::string mediaSetup = sourceDir + "Setup.exe";
    if (SameTextIgnoringCase(mediaSetup.c_str(), os.processes.ModulePath().c_str()))
        return;

    std::string arguments;
    if (IsApLiteral(commandLine))
        arguments = " /AP";
    else if (IsDriverLiteral(commandLine) || driverOnly != 0)
        arguments = " /DRIVER";
    os.processes.RunCommand(ProgramCommand(mediaSetup, arguments), platform::kShowShow);
}
