// w2kmedia: the commands for the people who build install media. `check`
// lists what would go wrong with a media; `plan` shows one run of the
// installer on it, on a simulated Windows.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs the command line (without the program name) and returns the exit
// status: 0 when all is well, 1 when a check found an error, 2 for a usage
// error or a media folder that cannot be read. Results go to `out`, messages
// to `err`.
int RunMediaTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
