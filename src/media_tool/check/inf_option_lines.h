// The two option lines of the driver INF that the installer's Windows
// 2000/XP dialog rewrites in place (kEnableLegacyLine and kJackConfigLine).
#pragma once

#include <string>
#include <vector>

struct MissingOptionLine {
    std::string expected;
    int nearestLineNumber = 0;  // from 1; 0 when the INF has no lines at all
    std::string nearestLine;    // without its line end
};

// The option lines the INF lacks, each with the line that comes closest to it.
std::vector<MissingOptionLine> MissingOptionLines(const std::string& inf);
