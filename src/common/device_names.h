// The names that Windows opens as a device in every folder, whatever the
// extension: a file of such a name can be neither written nor read there.
#pragma once

#include <string>

// Whether `name`, the last part of a path, names a device: Windows compares
// the name up to its first dot, trailing blanks dropped, without case, so
// "nul.txt" and "CON .log" are devices too. Windows documents COM0 to COM9
// and LPT0 to LPT9 as reserved, newer Windows also takes the superscript
// digits of the ANSI code page ("COM¹"), and the console's own two names
// open the console.
bool IsDeviceName(const std::string& name);
