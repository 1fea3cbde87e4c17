// w2kmedia: checks an install media, and shows what the installer does with it.
#include <exception>
#include <iostream>

#include "media_tool/media_tool.h"

int main(int argc, char** argv)
{
    try {
        return RunMediaTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::exception& error) {
        // What no check foresaw still ends with a message, not a trace.
        std::cerr << "w2kmedia: cannot go on: " << error.what() << "\n";
        return 2;
    }
}
