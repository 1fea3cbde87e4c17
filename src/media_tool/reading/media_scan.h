// A media folder on this machine, or a disc image, as the installer would
// find it on a disc: every folder and file below the root with its size and
// read-only flag, and what cannot go onto a Windows disc as it is (a name
// Windows cannot hold, two names that differ only in case, a file that
// cannot be read, a link that leads back into its own folder).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct MediaEntry {
    std::string path;      // below the root, folders joined by '\', as on the disc
    std::string hostPath;  // where it lies on this machine; empty on an image
    bool folder = false;
    bool readOnly = false;  // no write permission, as Wine shows a file from a CD
    std::uint64_t size = 0;
    // A file of a disc image: its bytes, read from the image when asked for.
    std::function<std::string()> imageBytes;
};

enum class ScanProblemKind {
    Unreadable,     // a file or folder that cannot be read
    LinkLoop,       // a link to a folder above it, one that never resolves, or too deep
    NameNotValid,   // a name Windows cannot hold
    NameClash,      // a name that differs from another only in case
    NotAFile,       // a device, pipe or socket
    BrokenEntry,    // an image's entry that Windows cannot show as listed
};

struct ScanProblem {
    ScanProblemKind kind;
    std::string path;  // below the root, as MediaEntry::path
    std::string detail;
};

// What a disc image shows beside its folders and files: the names it holds
// besides those Windows reads, for the findings only an image has.
struct ImageNames {
    // Windows reads Joliet names from it. An image whose Joliet names are
    // its ISO 9660 names counts as one without: Windows shows the same.
    bool joliet = false;
    // The paths its Rock Ridge names give, which keep the names of the
    // folder it was made from, below the root joined by '\'; empty when it
    // has no Rock Ridge names. Windows ignores them.
    std::vector<std::string> rockRidgePaths;
    // Names Windows would read that are no text (Joliet that is no UTF-16).
    std::size_t unreadableNames = 0;
};

// The root cannot be read: missing, not a folder, not readable, or an image
// that is none or is broken.
class MediaFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct MediaTree {
    std::string root;                   // as given
    std::optional<ImageNames> image;    // set when the media is a disc image
    std::vector<MediaEntry> entries;    // a folder before what it holds, names sorted
    std::vector<ScanProblem> problems;  // what was left out, and why

    // The entry at that path, names compared without case; null when none.
    const MediaEntry* Find(const std::string& path) const;
    // The entries by upper-cased path, for Find.
    std::map<std::string, std::size_t> index;
    // The file's bytes as they are on this machine (or the image) now.
    std::optional<std::string> Read(const std::string& path) const;
};

// Fills the tree's index from its entries.
void IndexMedia(MediaTree& media);

// Reads the folder tree below `root`. Links are followed; what cannot be
// taken is listed as a problem and left out.
MediaTree ScanMedia(const std::string& root);

// The name of the installer at the media's root, in the case it has there;
// empty when there is none.
std::string InstallerName(const MediaTree& media);

// The bytes of a file on this machine; nothing when it does not read.
std::optional<std::string> ReadHostFile(const std::string& hostPath);

// The bytes of a file of the media; nothing when they do not read.
std::optional<std::string> ReadEntry(const MediaEntry& entry);

// Whether two files of the media hold the same bytes.
bool SameBytes(const MediaEntry& a, const MediaEntry& b);
