// Runs a program of this machine and waits for it, its output going to a
// file, for the tools w2kmedia hands work to (xorriso).
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    bool started = false;  // false: no such program, or it could not start
    int exitStatus = -1;   // its exit status; -1 when a signal ended it
    std::string why;       // why it did not start
};

// Runs `arguments` (the program first, found on PATH) with its standard
// output and error written to `outputPath`.
ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& outputPath);
