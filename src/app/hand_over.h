// Windows before 2000: the media's own "Setup.exe" does the work.
#pragma once

#include <string>

#include "platform/platform.h"

// Starts SourceDir's "Setup.exe" with WinExec, passing on " /AP" or
// " /DRIVER" when they were asked for. Never starts the running program
// itself: a media whose "Setup.exe" is this installer would otherwise start
// it again and again.
void HandOverToMediaSetup(platform::Platform& os, const std::string& sourceDir,
                          const std::string& commandLine, int driverOnly);
