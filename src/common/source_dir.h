// SourceDir: the folder the installer was started from, with a trailing
// backslash. Every file read from the media is found below it.
#pragma once

#include <string>

#include "platform/platform.h"

// Derives SourceDir from the program name of the command line (not the module
// file name) and the current directory. A name with no folder, or a folder
// without a drive, takes the drive of the current directory.
std::string DeriveSourceDir(const std::string& programName, const std::string& currentDirectory);

// DeriveSourceDir from __argv[0] and GetCurrentDirectoryA.
std::string QuerySourceDir(platform::Platform& os);
