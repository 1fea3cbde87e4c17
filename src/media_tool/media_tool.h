// w2kmedia: the commands for the people who build install media. `check`
// lists what would go wrong with a media; `plan` shows one run of the
// installer on it, on a simulated Windows; `image` writes a disc image of a
// media folder and checks it; `extract` writes an image's tree as Windows
// shows it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "media_tool/reading/media_scan.h"

constexpr int kAllWell = 0;
constexpr int kErrorFound = 1;
constexpr int kCannotRun = 2;

// A media folder, or a disc image when the path is a file ending in ".iso".
// Throws MediaFolderError when it cannot be read.
MediaTree LoadMedia(const std::string& path);

// Runs the command line (without the program name) and returns the exit
// status: 0 when all is well, 1 when a check found an error, 2 for a usage
// error or a media folder that cannot be read. Results go to `out`, messages
// to `err`.
int RunMediaTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
