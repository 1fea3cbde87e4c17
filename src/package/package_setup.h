// The application package: close the audio applications, uninstall the
// previous package and start the package's own setup program.
#pragma once

#include <string>

#include "platform/platform.h"

// The start-up form ("/AP" on Windows 2000 and later): ends the process with
// exit code 0 when done.
[[noreturn]] void InstallPackageFromStartup(platform::Platform& os, const std::string& sourceDir);
