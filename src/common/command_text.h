// Command lines for WinExec and CreateProcessA.
#pragma once

#include <string>

// The program path followed by its arguments (which begin with their own
// blank). A path with a blank in it is quoted: unquoted, Windows would try
// "C:\Program.exe" before "C:\Program Files\...", and could start the wrong
// program. A path without blanks is passed exactly as it is.
std::string ProgramCommand(const std::string& programPath, const std::string& arguments = "");
