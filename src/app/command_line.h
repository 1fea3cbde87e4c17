// The command-line literals the installer recognises. The command line is
// upper-cased first and then compared whole, byte for byte.
#pragma once

#include <string>

// The C runtime's in-place upper-casing (ASCII letters only).
void UpperCaseInPlace(char* text);
// A copy of the text as the installer compares it: up to its first zero
// byte, upper-cased in place.
std::string UpperCased(const std::string& text);

bool IsReplaceMixerLiteral(const std::string& commandLine);  // "-REPLACEMIXER"
bool IsApLiteral(const std::string& commandLine);            // "/AP", "AP", "-AP"
bool IsDriverLiteral(const std::string& commandLine);        // "/DRIVER", "DRIVER", "-DRIVER"
// The unattended installation for scripts: "/S", "-S", "/SILENT", "-SILENT".
bool IsSilentLiteral(const std::string& commandLine);
