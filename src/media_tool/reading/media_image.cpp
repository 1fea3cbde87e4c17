#include "media_tool/reading/media_image.h"

#include <algorithm>

#include "common/ascii.h"
#include "sim/sim_context.h"

MediaImage::MediaImage(const MediaTree& media) : tree(media)
{
    sim::SimFileSystem::Node root;
    root.path = kRoot;
    root.folder = true;
    root.attributes = platform::kAttributeDirectory;
    nodes.push_back(root);
    for (const MediaEntry& entry : media.entries) {
        sim::SimFileSystem::Node node;
        node.path = kRoot + entry.path;
        node.folder = entry.folder;
        if (entry.folder) {
            node.attributes = platform::kAttributeDirectory;
        } else {
            node.attributes =
                entry.readOnly ? platform::kAttributeReadOnly : platform::kAttributeArchive;
            // The tree outlives every machine a check or plan makes from it.
            node.readLater = [&entry] { return ReadEntry(entry).value_or(""); };
        }
        nodes.push_back(node);
    }
    std::sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
        return AsciiUpper(a.path) < AsciiUpper(b.path);
    });

    const std::string installer = InstallerName(media);
    installerPath = kRoot + (installer.empty() ? std::string("W2KSetup.exe") : installer);
}
