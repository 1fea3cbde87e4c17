// The application package's own setup program on the media: finding it,
// leaving it the handshake file, starting it, and the start-up form of the
// package installation ("/AP").
#pragma once

#include <string>

#include "platform/platform.h"

struct PackageSetup {
    std::string path;  // under SourceDir, in "W2K-ME\app\" or "WIN_ME\app\"
    bool exists = false;
};

// Looks in "W2K-ME\app\" when the folder "W2K-ME\" is on the media, which
// then stays the current directory (the package setup program inherits it),
// and in "WIN_ME\app\" otherwise.
PackageSetup FindPackageSetup(platform::Platform& os, const std::string& sourceDir);

// Writes "QNISETUP.INI" in the Windows directory for the package setup
// program: no restart on the installer's behalf, and whether the driver is
// still to be installed, by which command.
void WritePackageHandshake(platform::Platform& os, const std::string& sourceDir,
                           bool installDriver);

// Starts the package setup program and returns at once.
void LaunchPackageSetup(platform::Platform& os, const std::string& path);

// The start-up form: closes the audio applications, uninstalls the previous
// package and starts the package setup program, then ends the process with
// exit code 0.
[[noreturn]] void InstallPackageFromStartup(platform::Platform& os, const std::string& sourceDir);
