// The command line of w2kmedia: which command, which media, for a plan the
// machine and the user's answers, for an image where it goes.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "media_tool/plan/plan_setup.h"

enum class ToolCommand { Check, Plan, Image, Extract, Help };

struct ToolOptions {
    ToolCommand command = ToolCommand::Help;
    std::string media;   // a folder, or for check, plan and extract an image
    std::string output;  // image: the image to write; extract: the folder to fill
    std::string label;   // image: --label, the volume label
    bool json = false;
    PlanSetup plan;
    std::string arguments;  // --args: the command line after the program name
};

// A command line w2kmedia cannot run: the text says what is wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `arguments` without the program name. Read here, not with CLI11: the
// messages name the first wrong argument, in the words of its command, and
// an argument with one dash is a path; CLI11 words its own errors, checks
// values after the whole line, and takes "-x", "--x=y" and "--" as options.
ToolOptions ParseToolOptions(const std::vector<std::string>& arguments);

// The usage text printed for --help and after a usage error.
const char* UsageText();
