#include "media_tool/reading/media_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

#include "common/ascii.h"
#include "media_tool/reading/windows_names.h"
#include "sim/sim_context.h"

namespace {

using FolderId = std::pair<dev_t, ino_t>;

// Folders nested deeper than this are taken as a loop of links that the
// device and inode numbers did not show (a file system without stable ones).
constexpr std::size_t kDeepestNesting = 64;

class Scanner {
public:
    explicit Scanner(MediaTree& media) : m_media(media) {}

    void ScanRoot(const std::string& root)
    {
        struct stat info {};
        if (::stat(root.c_str(), &info) != 0)
            throw MediaFolderError("cannot read the media folder " + root + ": " +
                                   std::strerror(errno));
        if (!S_ISDIR(info.st_mode))
            throw MediaFolderError(root + " is a file, not a media folder");
        std::vector<std::string> names;
        if (!ListFolder(root, names))
            throw MediaFolderError("cannot read the media folder " + root + ": " +
                                   std::strerror(errno));
        std::vector<FolderId> above{{info.st_dev, info.st_ino}};
        ScanEntries(root, "", names, above);
    }

private:
    static bool ListFolder(const std::string& hostPath, std::vector<std::string>& names)
    {
        DIR* folder = ::opendir(hostPath.c_str());
        if (!folder)
            return false;
        while (const dirent* entry = ::readdir(folder)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(folder);
        std::sort(names.begin(), names.end());
        return true;
    }

    void Problem(ScanProblemKind kind, const std::string& path, const std::string& detail)
    {
        m_media.problems.push_back({kind, path, detail});
    }

    void ScanEntries(const std::string& hostFolder, const std::string& prefix,
                     const std::vector<std::string>& names, std::vector<FolderId>& above)
    {
        FolderNames kept(prefix, m_media.problems);
        for (const std::string& name : names) {
            if (kept.Keep(name))
                ScanEntry(hostFolder + "/" + name, prefix + name, above);
        }
    }

    void ScanEntry(const std::string& hostPath, const std::string& path,
                   std::vector<FolderId>& above)
    {
        struct stat info {};
        if (::stat(hostPath.c_str(), &info) != 0) {
            const int error = errno;
            struct stat link {};
            const bool isLink = ::lstat(hostPath.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
            if (isLink && error == ELOOP)
                Problem(ScanProblemKind::LinkLoop, path, "is a link that never resolves");
            else if (isLink && error == ENOENT)
                Problem(ScanProblemKind::Unreadable, path, "the link leads nowhere");
            else
                Problem(ScanProblemKind::Unreadable, path, std::strerror(error));
            return;
        }
        if (S_ISDIR(info.st_mode)) {
            ScanFolder(hostPath, path, info, above);
        } else if (S_ISREG(info.st_mode)) {
            // Opened without blocking and closed at once: only whether it reads.
            const int file = ::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK);
            if (file < 0) {
                Problem(ScanProblemKind::Unreadable, path, std::strerror(errno));
                return;
            }
            ::close(file);
            m_media.entries.push_back({path, hostPath, false, (info.st_mode & S_IWUSR) == 0,
                                       static_cast<std::uint64_t>(info.st_size), nullptr});
        } else {
            Problem(ScanProblemKind::NotAFile, path, "not a file or folder");
        }
    }

    void ScanFolder(const std::string& hostPath, const std::string& path,
                    const struct stat& info, std::vector<FolderId>& above)
    {
        const FolderId id{info.st_dev, info.st_ino};
        auto loop = std::find(above.begin(), above.end(), id);
        if (loop == above.begin()) {
            Problem(ScanProblemKind::LinkLoop, path, "is a link back to the media root");
            return;
        }
        if (loop != above.end()) {
            const auto folder = static_cast<std::size_t>(loop - above.begin()) - 1;
            Problem(ScanProblemKind::LinkLoop, path,
                    "is a link back to the folder " + m_folderPaths[folder] + " above it");
            return;
        }
        if (above.size() > kDeepestNesting) {  // the root and the folders above
            Problem(ScanProblemKind::LinkLoop, path,
                    "lies more than " + std::to_string(kDeepestNesting) + " folders deep");
            return;
        }
        std::vector<std::string> names;
        if (!ListFolder(hostPath, names)) {
            Problem(ScanProblemKind::Unreadable, path + "\\", std::strerror(errno));
            return;
        }
        m_media.entries.push_back({path, hostPath, true, false, 0, nullptr});
        above.push_back(id);
        m_folderPaths.push_back(path + "\\");
        ScanEntries(hostPath, path + "\\", names, above);
        m_folderPaths.pop_back();
        above.pop_back();
    }

    MediaTree& m_media;
    std::vector<std::string> m_folderPaths;  // the folders of `above` below the root
};

}  // namespace

MediaTree ScanMedia(const std::string& root)
{
    MediaTree media;
    media.root = root;
    Scanner(media).ScanRoot(root);
    IndexMedia(media);
    return media;
}

void IndexMedia(MediaTree& media)
{
    media.index.clear();
    for (std::size_t i = 0; i < media.entries.size(); ++i)
        media.index[AsciiUpper(media.entries[i].path)] = i;
}

const MediaEntry* MediaTree::Find(const std::string& path) const
{
    auto found = index.find(AsciiUpper(path));
    return found == index.end() ? nullptr : &entries[found->second];
}

std::optional<std::string> MediaTree::Read(const std::string& path) const
{
    const MediaEntry* entry = Find(path);
    if (!entry || entry->folder)
        return std::nullopt;
    return ReadEntry(*entry);
}

std::optional<std::string> ReadEntry(const MediaEntry& entry)
{
    if (entry.imageBytes)
        return entry.imageBytes();
    return ReadHostFile(entry.hostPath);
}

std::optional<std::string> ReadHostFile(const std::string& hostPath)
{
    std::ifstream in(hostPath, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string InstallerName(const MediaTree& media)
{
    const MediaEntry* installer = media.Find("W2KSetup.exe");
    return installer && !installer->folder ? installer->path : std::string();
}

namespace {

bool SameHostBytes(const std::string& hostPathA, const std::string& hostPathB)
{
    std::ifstream a(hostPathA, std::ios::binary);
    std::ifstream b(hostPathB, std::ios::binary);
    if (!a || !b)
        return false;
    char blockA[65536];
    char blockB[65536];
    for (;;) {
        a.read(blockA, sizeof blockA);
        b.read(blockB, sizeof blockB);
        if (a.gcount() != b.gcount() ||
            std::memcmp(blockA, blockB, static_cast<std::size_t>(a.gcount())) != 0)
            return false;
        if (!a || !b)
            return !a && !b;
    }
}

}  // namespace

bool SameBytes(const MediaEntry& a, const MediaEntry& b)
{
    if (a.folder || b.folder || a.size != b.size)
        return false;
    if (!a.imageBytes && !b.imageBytes)
        return SameHostBytes(a.hostPath, b.hostPath);
    auto bytesA = ReadEntry(a);
    auto bytesB = ReadEntry(b);
    return bytesA && bytesB && *bytesA == *bytesB;
}
