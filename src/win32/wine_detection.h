// Whether the program runs under Wine rather than on Windows.
#pragma once

namespace win32 {

// True when ntdll exports `wine_get_version`: Wine's ntdll has it, no
// Windows ntdll does (it is the export Wine's developers point to for this
// question). Only the device service asks, to stay clear of Setup API
// functions that Wine leaves as process-ending stubs.
bool RunningUnderWine();

}  // namespace win32
