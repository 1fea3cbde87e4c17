// Which file the install log may append to. A log path comes from a person
// (setup.ini or the environment) and may be mistyped: appended to
// autoexec.bat, the log's lines would run at the next boot, and a "file"
// named LPT1 is the printer port. So the log writes only into a file of its
// own: one that does not exist yet, or one whose first bytes are the start
// of the log's own block.
#pragma once

#include <string>

#include "logging/log_host.h"

namespace logging {

// Whether the path's last part is a name Windows keeps for a device, in any
// folder, with any extension and in any case ("C:\Logs\lpt1.log"), or a
// name no file can have (empty, as for a folder, or with a wildcard). Such a
// path is never looked at or opened.
bool NamesNoFileOfItsOwn(const std::string& path);

// Whether the log may append to the file at `path`: a path that names a
// file, and nothing there yet or a file that begins with `blockStart`.
bool IsOwnLogFile(const std::string& path, const std::string& blockStart, LogHost& host);

}  // namespace logging
