// The two option lines of the driver INF that the installer's Windows
// 2000/XP dialog rewrites in place: it finds each only where it stands byte
// for byte at the start of a line.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* kEnableLegacyOptionLine =
    "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
inline constexpr const char* kJackConfigOptionLine =
    "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";

struct MissingOptionLine {
    std::string expected;
    int nearestLineNumber = 0;  // from 1; 0 when the INF has no lines at all
    std::string nearestLine;    // without its line end
};

// The option lines the INF lacks, each with the line that comes closest to it.
std::vector<MissingOptionLine> MissingOptionLines(const std::string& inf);
