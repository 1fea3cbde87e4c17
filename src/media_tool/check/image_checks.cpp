#include "media_tool/check/image_checks.h"

#include "common/ascii.h"
#include "media_tool/check/media_checks.h"
#include "media_tool/reading/media_image.h"
#include "media_tool/reading/windows_names.h"
#include "sim/sim_context.h"

namespace {

// The paths on D: that a run looked for and did not find.
std::vector<std::string> MissedOnMedia(const PlanResult& run)
{
    const std::string root = MediaImage::kRoot;
    auto onMedia = [&root](const std::string& path) {
        return path.size() > root.size() && sim::EqualNoCase(path.substr(0, root.size()), root);
    };
    std::vector<std::string> missed;
    for (const PlanEvent& event : run.events) {
        std::string path;
        if ((event.kind == "folder-test" || event.kind == "file-test") &&
            event.Field("present") != "true")
            path = event.Field("path");
        else if (event.kind == "copy" && event.Has("error"))
            path = event.Field("from");
        else if (event.kind == "search" && event.Field("files") == "0" &&
                 event.Field("folders") == "0")
            path = event.Field("pattern").substr(0, event.Field("pattern").rfind('\\') + 1);
        if (onMedia(path))
            missed.push_back(path.substr(root.size()));
    }
    return missed;
}

std::string AsFolder(const MediaEntry& entry)
{
    return OnMedia(entry.path) + (entry.folder ? "\\" : "");
}

}  // namespace

void CheckImageRun(const PlanResult& run, const MediaTree& media, std::set<std::string>& reported,
                   FindingList& findings)
{
    if (!media.image || media.image->joliet)
        return;
    for (const std::string& missed : MissedOnMedia(run)) {
        const std::vector<std::string> names = NamesOf(missed, '\\');
        std::string found;  // the part of the path the image has, as it spells it
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string wanted = found + names[i];
            if (const MediaEntry* entry = media.Find(wanted)) {
                found = entry->path + "\\";
                continue;
            }
            // A folder where the installer wants a file, or the other way
            // round, is missed with Joliet names too.
            const bool folderWanted = i + 1 < names.size() || missed.back() == '\\';
            const MediaEntry* shown = media.Find(found + Iso9660FormOf(names[i]));
            if (!shown || shown->folder != folderWanted)
                break;
            const std::string lookedFor = OnMedia(wanted) + (folderWanted ? "\\" : "");
            reported.insert(AsciiUpper(shown->path));
            findings.Add({Severity::Error, "no-joliet-name", AsFolder(*shown),
                          "On {windows} the installer looks for " + lookedFor +
                              ", but the image has no Joliet names, so Windows shows only the "
                              "ISO 9660 name " + AsFolder(*shown) +
                              " and the installer misses it; write the image with Joliet names "
                              "(tools/w2kmedia image does).",
                          {run.windows.label}});
            break;
        }
    }
}

namespace {

// Why Windows shows no `path` (a Rock Ridge path) on the image.
std::string WhyNotShown(const MediaTree& media, const std::string& path)
{
    if (!media.image->joliet)
        return "the image has no Joliet names, and its ISO 9660 name differs";
    const std::string name = path.substr(path.rfind('\\') + 1);
    const std::string why = WhyJolietCannotHold(name);
    if (!why.empty())
        return "Joliet, the names Windows reads, cannot hold the name: " + why;
    const std::size_t length = Utf16Length(path);
    if (length > kLongestJolietPath)
        return "its path is " + std::to_string(length) + " characters long, and Joliet, the "
               "names Windows reads, holds paths of at most " +
               std::to_string(kLongestJolietPath);
    return "its Joliet name, which Windows reads, differs";
}

}  // namespace

void CheckImageNames(const MediaTree& media, const std::set<std::string>& reported,
                     FindingList& findings)
{
    if (!media.image)
        return;
    if (media.image->unreadableNames > 0) {
        findings.Add({Severity::Warning, "name-not-readable", MediaImage::kRoot,
                      std::to_string(media.image->unreadableNames) +
                          " name(s) on the image are no Joliet text (UTF-16), so w2kmedia left "
                          "them out and Windows shows them garbled or not at all; write the image "
                          "again from its folder.",
                      {}});
    }
    std::vector<std::string> changed;  // upper-cased, each ending in '\'
    for (const std::string& path : media.image->rockRidgePaths) {
        std::string prefix;  // down to the first name Windows does not show
        std::string isoForm;
        bool missing = false;
        for (const std::string& name : NamesOf(path, '\\')) {
            prefix += (prefix.empty() ? "" : "\\") + name;
            isoForm += (isoForm.empty() ? "" : "\\") + Iso9660FormOf(name);
            missing = !media.Find(prefix);
            if (missing)
                break;
        }
        if (!missing)
            continue;
        const std::string key = AsciiUpper(prefix) + "\\";
        bool below = false;
        for (const std::string& earlier : changed)
            below = below || key.rfind(earlier, 0) == 0;
        if (below || reported.count(AsciiUpper(isoForm)))
            continue;
        changed.push_back(key);
        findings.Add({Severity::Warning, "name-changed-on-image", OnMedia(prefix),
                      "The folder the image was made from held " + OnMedia(prefix) +
                          " (so its Rock Ridge names say, which Windows ignores), but Windows "
                          "finds no such name on the image: " + WhyNotShown(media, prefix) +
                          "; shorten the name, or write the image again with tools/w2kmedia "
                          "image.",
                      {}});
    }
}
