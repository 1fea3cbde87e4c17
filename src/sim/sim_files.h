// The file system of the simulated machine: drives, folders and files with
// attributes, names that compare without case, a current directory, and
// searches, copies and streams that follow the Windows rules the installer
// meets, the length limit of an ANSI path among them.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "sim/sim_context.h"

namespace sim {

class SimFileSystem : public platform::FileSystem {
public:
    explicit SimFileSystem(SimContext& context);

    // The machine's side, for tests. Paths may be relative to the current
    // directory; folders are created with their parents.
    std::string windowsDirectory = "C:\\WINDOWS";
    // Drives that refuse every write with access denied, such as "D:" for a CD.
    std::vector<std::string> readOnlyDrives;
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& bytes,
                 std::uint32_t attributes = platform::kAttributeArchive);
    // A file whose bytes come from `read` the first time anything needs
    // them: a copy passes the promise on, so that large files nobody opens
    // are never read.
    void AddFileReadLater(const std::string& path, std::function<std::string()> read,
                          std::uint32_t attributes = platform::kAttributeArchive);
    bool Exists(const std::string& path) const;
    bool IsFolder(const std::string& path) const;
    std::optional<std::string> Read(const std::string& path) const;
    std::optional<std::uint32_t> Attributes(const std::string& path) const;
    // The names in a folder, in the order a search returns them.
    std::vector<std::string> List(const std::string& folder) const;
    // Every file below a folder, as full paths, for "nothing else changed".
    std::vector<std::string> FilesBelow(const std::string& folder) const;
    void Erase(const std::string& path);
    void SetCurrent(const std::string& path);
    const std::string& Current() const { return m_current; }
    // The full path Windows would make of `path`, and the key it is stored under.
    std::string FullPath(const std::string& path) const;

    // For the profile files, which live in this file system.
    bool Load(const std::string& path, std::string& bytes) const;
    bool Store(const std::string& path, const std::string& bytes);

    // Runs with the full path of a file that a platform call has just
    // created, changed or deleted.
    std::function<void(const std::string& fullPath)> onChange;
    // For the other services that change files on a call's behalf.
    void Changed(const std::string& path);

    // Searches and streams the system has not closed yet, by pattern and path.
    std::vector<std::string> OpenSearches() const;
    std::vector<std::string> OpenStreams() const;

    // platform::FileSystem
    std::string WindowsDirectory() override;
    std::string CurrentDirectory() override;
    bool ChangeDirectory(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    std::unique_ptr<platform::FileSearch> Find(const std::string& pattern) override;
    bool Copy(const std::string& from, const std::string& to, bool failIfExists) override;
    bool Remove(const std::string& path) override;
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool OpensForReading(const std::string& path) override;
    std::unique_ptr<platform::ByteStream> OpenForUpdate(const std::string& path) override;

    struct Node {
        std::string path;  // full path as created
        bool folder = false;
        std::uint32_t attributes = 0;
        // Mutable for the bytes read on demand, which a look at a const
        // file system may need; in a listing they are read in full.
        mutable std::string bytes;
        // Set while the bytes are still to be read: see AddFileReadLater.
        mutable std::function<std::string()> readLater;
    };
    // Every folder and file, in path order (without case).
    std::vector<Node> Listing() const;
    // Adds many folders and files at once: full paths, each folder listed
    // before what it holds, best in path order. For a whole media tree this
    // is much faster than one AddFile after another.
    void AddNodes(const std::vector<Node>& nodes);

    // ANSI paths hold at most MAX_PATH - 1 characters; a folder to be
    // created leaves room for an 8.3 name in it (MAX_PATH - 12 with the zero).
    static constexpr std::size_t kLongestPath = 259;
    static constexpr std::size_t kLongestNewFolder = 247;

private:
    class Search;
    class Stream;

    Node* Lookup(const std::string& path);
    const Node* Lookup(const std::string& path) const;
    bool ParentIsFolder(const std::string& fullPath) const;
    // AddFile's work: the file, made or replaced, and its folders.
    Node& PutFile(const std::string& path, const std::string& bytes, std::uint32_t attributes);
    // The folder's own entries, in the order a search returns them.
    std::vector<const Node*> Entries(const std::string& folder) const;
    // Nothing on a read-only drive can be created, changed or deleted.
    bool OnReadOnlyDrive(const std::string& path) const;
    // The node's bytes, read now if they were left for later.
    static std::string& BytesOf(const Node& node);
    // A call on a path too long for Windows fails before it looks at the
    // disk: it records itself so and leaves ERROR_FILENAME_EXCED_RANGE (the
    // C runtime's calls report through errno instead).
    bool RefusedAsTooLong(const std::string& function, const std::string& detail,
                          const std::string& path, std::size_t longest,
                          bool setsLastError = true);

    SimContext& m_context;
    std::map<std::string, Node> m_nodes;  // by upper-cased full path
    std::string m_current = "C:\\";
    // What the searches and streams hold while open, by serial number.
    std::map<std::size_t, std::string> m_openSearches;  // the pattern
    std::map<std::size_t, std::string> m_openStreams;   // the path
    std::size_t m_nextSerial = 1;
};

// Windows' wildcard match of a file name, without case: '*' and '?', with
// "*.*" matching every name. A search matches a mask against each name and
// against its short name.
bool MatchesWildcard(const std::string& name, const std::string& mask);

// The 8.3 name Windows gives a long name: the name itself, upper-cased, when
// it fits; otherwise the first six usable characters of its base, "~1" and
// the first three of its extension ("QN5740.INFO" is "QN5740~1.INF"). The
// simulation does not number clashing short names.
std::string ShortNameOf(const std::string& name);

}  // namespace sim
