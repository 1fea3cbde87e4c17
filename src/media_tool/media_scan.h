// A media folder on this machine as the installer would find it on a disc:
// every folder and file below the root with its size and read-only flag, and
// what cannot go onto a Windows disc as it is (a name Windows cannot hold,
// two names that differ only in case, a file that cannot be read, a link
// that leads back into its own folder).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct MediaEntry {
    std::string path;      // below the root, folders joined by '\', as on the disc
    std::string hostPath;  // where it lies on this machine
    bool folder = false;
    bool readOnly = false;  // no write permission, as Wine shows a file from a CD
    std::uint64_t size = 0;
};

enum class ScanProblemKind {
    Unreadable,     // a file or folder that cannot be read
    LinkLoop,       // a link to a folder above it, one that never resolves, or too deep
    NameNotValid,   // a name Windows cannot hold
    NameClash,      // a name that differs from another only in case
    NotAFile,       // a device, pipe or socket
};

struct ScanProblem {
    ScanProblemKind kind;
    std::string path;  // below the root, as MediaEntry::path
    std::string detail;
};

// The root cannot be read: missing, not a folder, or not readable.
class MediaFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct MediaTree {
    std::string root;                   // as given
    std::vector<MediaEntry> entries;    // a folder before what it holds, names sorted
    std::vector<ScanProblem> problems;  // what was left out, and why

    // The entry at that path, names compared without case; null when none.
    const MediaEntry* Find(const std::string& path) const;
    // The entries by upper-cased path, for Find.
    std::map<std::string, std::size_t> index;
    // The file's bytes as they are on this machine now.
    std::optional<std::string> Read(const std::string& path) const;
};

// Reads the folder tree below `root`. Links are followed; what cannot be
// taken is listed as a problem and left out.
MediaTree ScanMedia(const std::string& root);

// The name of the installer at the media's root, in the case it has there;
// empty when there is none.
std::string InstallerName(const MediaTree& media);

// The bytes of a file on this machine; nothing when it does not read.
std::optional<std::string> ReadHostFile(const std::string& hostPath);

// Whether two files on this machine hold the same bytes.
bool SameBytes(const std::string& hostPathA, const std::string& hostPathB);
