#include "media_tool/images/image_extract.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "media_tool/check/media_checks.h"
#include "media_tool/media_tool.h"

namespace fs = std::filesystem;

namespace {

std::string HostPath(const std::string& folder, const std::string& path)
{
    std::string host = folder + "/" + path;
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

bool WriteFile(const std::string& hostPath, const std::string& bytes)
{
    std::ofstream file(hostPath, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace

int ExtractImage(const MediaTree& image, const std::string& folder, std::ostream& out,
                 std::ostream& err)
{
    if (!image.image) {
        err << "w2kmedia: " << image.root << " is a folder; extract takes an image\n";
        return kCannotRun;
    }
    std::error_code error;
    if (fs::exists(folder, error) && !(fs::is_directory(folder) && fs::is_empty(folder))) {
        err << "w2kmedia: " << folder << " is there already and not an empty folder; "
            << "extract writes into a new one\n";
        return kCannotRun;
    }
    fs::create_directories(folder, error);
    if (error) {
        err << "w2kmedia: cannot make the folder " << folder << ": " << error.message() << "\n";
        return kCannotRun;
    }
    bool complete = true;
    std::vector<std::string> folders;
    for (const MediaEntry& entry : image.entries) {
        const std::string host = HostPath(folder, entry.path);
        const bool written = entry.folder ? fs::create_directory(host, error)
                                          : WriteFile(host, ReadEntry(entry).value_or(""));
        if (!written) {
            err << "w2kmedia: cannot write " << host << "\n";
            complete = false;
            continue;
        }
        if (entry.folder)
            folders.push_back(host);
        else
            ::chmod(host.c_str(), 0444);
    }
    // Folders last, inner ones first, so that each is still writable while
    // what it holds is written.
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        ::chmod(it->c_str(), 0555);
    ::chmod(folder.c_str(), 0555);

    for (const ScanProblem& problem : image.problems)
        err << "w2kmedia: left out: " << ScanFinding(problem).Sentence() << "\n";
    out << "Wrote the " << image.entries.size() << " folders and files of " << image.root
        << " into " << folder << " as Windows shows them, read-only.\n";
    return complete ? kAllWell : kCannotRun;
}
