// A media tree made ready for the simulated Windows once, so that the many
// machines of a check load it in a moment: its folders and files as drive D:,
// with their bytes read from this machine only when a run needs them.
#pragma once

#include <string>
#include <vector>

#include "media_tool/reading/media_scan.h"
#include "sim/sim_files.h"

struct MediaImage {
    explicit MediaImage(const MediaTree& tree);

    static constexpr const char* kRoot = "D:\\";
    const MediaTree& tree;
    std::vector<sim::SimFileSystem::Node> nodes;  // D:\ and all below it, in path order
    std::string installerPath;  // D:\ and the installer's name, W2KSetup.exe when it has none
};
