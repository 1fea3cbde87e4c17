// The Windows directory with a trailing backslash: the home of the mixer,
// the installer's copy and the INI files the installer writes.
#pragma once

#include <string>

#include "platform/files.h"

std::string WindowsDirectoryPath(platform::FileSystem& files);

// The Windows INF folder, "INF\" in the Windows directory, with a trailing
// backslash.
std::string InfFolderPath(platform::FileSystem& files);
