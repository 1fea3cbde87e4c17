// Enabling one privilege in the token of this process.
#pragma once

#include <string>

#include "platform/platform.h"

// Enables the named privilege, such as "SeShutdownPrivilege". A token that
// cannot be opened counts as success only where Windows has no tokens at all
// (ERROR_CALL_NOT_IMPLEMENTED, Windows 95/98/ME). Returns what
// AdjustTokenPrivileges returned, which does not tell a partial assignment.
bool EnableTokenPrivilege(platform::Platform& os, const std::string& privilegeName);
