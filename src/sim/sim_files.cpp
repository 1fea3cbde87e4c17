#include "sim/sim_files.h"

#include <algorithm>

#include "common/ascii.h"

namespace sim {

namespace {

std::string ParentOf(const std::string& fullPath)
{
    std::size_t slash = fullPath.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    if (slash == 2)  // "C:\X" has the root "C:\" as parent
        return fullPath.substr(0, 3);
    return fullPath.substr(0, slash);
}

std::string NameOf(const std::string& fullPath)
{
    std::size_t slash = fullPath.rfind('\\');
    return slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

bool Match(const char* name, const char* mask)
{
    if (*mask == '\0')
        return *name == '\0';
    if (*mask == '*')
        return Match(name, mask + 1) || (*name != '\0' && Match(name + 1, mask));
    if (*name == '\0')
        return false;
    if (*mask == '?' || AsciiUpper(*mask) == AsciiUpper(*name))
        return Match(name + 1, mask + 1);
    return false;
}

// The attribute bits as the names Windows Explorer gives them.
std::string AttributeNames(std::uint32_t attributes)
{
    if (attributes == platform::kAttributeNormal)
        return "normal";
    const std::pair<std::uint32_t, const char*> names[] = {
        {platform::kAttributeReadOnly, "read-only"}, {0x02, "hidden"}, {0x04, "system"},
        {platform::kAttributeDirectory, "folder"},   {platform::kAttributeArchive, "archive"}};
    std::string text;
    for (const auto& [bit, name] : names) {
        if (attributes & bit)
            text += (text.empty() ? "" : " ") + std::string(name);
    }
    return text.empty() ? Hex(attributes) : text;
}

}  // namespace

// One FindFirstFileA search: the first entry came with FindFirstFileA, each
// further one is a FindNextFileA call; FindClose when it goes.
class SimFileSystem::Search : public platform::FileSearch {
public:
    Search(SimFileSystem& files, const std::string& pattern,
           std::vector<platform::FoundFile> found)
        : m_files(files), m_serial(files.m_nextSerial++), m_found(std::move(found))
    {
        m_files.m_openSearches[m_serial] = pattern;
    }
    ~Search() override
    {
        m_files.m_openSearches.erase(m_serial);
        SimContext& context = m_files.m_context;
        context.Release("FindClose", "");
    }

    bool Next(platform::FoundFile& found) override
    {
        if (m_next > 0) {
            SimContext& context = m_files.m_context;
            if (context.Fails("FindNextFileA", "", error::kInvalidHandle))
                return false;
            context.Record("FindNextFileA", m_next < m_found.size() ? "" : "(no more files)");
            if (m_next >= m_found.size())
                context.lastError = error::kNoMoreFiles;
        }
        if (m_next >= m_found.size())
            return false;
        found = m_found[m_next++];
        return true;
    }

private:
    SimFileSystem& m_files;
    std::size_t m_serial;
    std::vector<platform::FoundFile> m_found;
    std::size_t m_next = 0;
};

// A file opened with fopen "r+b". Every C runtime call on it counts; a
// failed one gives the C runtime's failure result (EOF, -1L, nonzero). The
// C runtime leaves undefined a read right after a write with no fflush or
// fseek between them, and a write right after a read with no fseek between
// them (unless the read met the end of the file): such a call stops the run.
class SimFileSystem::Stream : public platform::ByteStream {
public:
    Stream(SimFileSystem& files, Node& node)
        : m_files(files), m_context(files.m_context), m_node(node),
          m_serial(files.m_nextSerial++)
    {
        BytesOf(node);
        m_files.m_openStreams[m_serial] = node.path;
    }
    ~Stream() override { Close(); }

    int GetByte() override {
        if (m_last == Direction::Writing)
            Undefined("fgetc follows fputc with no fflush or fseek between them");
        if (m_closed || m_context.Fails("fgetc", At()))
            return -1;
        bool atEnd = m_position >= static_cast<long>(m_node.bytes.size());
        m_last = atEnd ? Direction::None : Direction::Reading;
        m_context.Record("fgetc", At() + (atEnd ? " (end)" : ""));
        if (atEnd)
            return -1;
        return static_cast<unsigned char>(m_node.bytes[m_position++]);
    }
    long Tell() override {
        if (m_closed || m_context.Fails("ftell", m_node.path))
            return -1L;
        m_context.Record("ftell", At());
        return m_position;
    }
    bool Seek(long offset) override {
        if (m_closed || m_context.Fails("fseek", m_node.path + " " + std::to_string(offset)))
            return false;
        m_context.Record("fseek", m_node.path + " " + std::to_string(offset) +
                                      (offset < 0 ? " (invalid)" : ""));
        if (offset < 0)
            return false;
        m_position = offset;
        m_last = Direction::None;
        return true;
    }
    bool SeekToEnd() override {
        if (m_closed || !m_context.Succeeds("fseek", m_node.path + " end"))
            return false;
        m_position = static_cast<long>(m_node.bytes.size());
        m_last = Direction::None;
        return true;
    }
    bool PutByte(char byte) override {
        if (m_last == Direction::Reading)
            Undefined("fputc follows fgetc with no fseek between them");
        std::string detail = At() + " '" + std::string(1, byte) + "'";
        if (m_closed || !m_context.Succeeds("fputc", detail))
            return false;
        m_last = Direction::Writing;
        m_context.Effect("patch", {TextField("path", m_node.path), NumberField("offset", m_position),
                                   TextField("byte", std::string(1, byte))});
        if (m_position >= static_cast<long>(m_node.bytes.size()))
            m_node.bytes.resize(m_position + 1, '\0');
        m_node.bytes[m_position++] = byte;
        m_files.Changed(m_node.path);
        return true;
    }
    void Flush() override {
        if (m_closed || !m_context.Succeeds("fflush", m_node.path))
            return;
        if (m_last == Direction::Writing)
            m_last = Direction::None;
    }
    void Close() override {
        if (m_closed)
            return;
        // The stream is closed whatever fclose answers.
        m_closed = true;
        m_last = Direction::None;
        m_files.m_openStreams.erase(m_serial);
        m_context.Release("fclose", m_node.path);
    }

private:
    // What the last call that moved data did; a call that failed moves none.
    enum class Direction { None, Reading, Writing };

    std::string At() const { return m_node.path + " @" + std::to_string(m_position); }
    [[noreturn]] void Undefined(const std::string& what) const {
        throw SimScriptError("on " + m_node.path + " " + what + " (undefined in the C runtime)");
    }

    SimFileSystem& m_files;
    SimContext& m_context;
    Node& m_node;
    std::size_t m_serial;
    long m_position = 0;
    bool m_closed = false;
    Direction m_last = Direction::None;
};

bool MatchesWildcard(const std::string& name, const std::string& mask)
{
    if (mask == "*.*")
        return true;
    return Match(name.c_str(), mask.c_str());
}

std::string ShortNameOf(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    const std::string base = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    const bool plain = name.find_first_of(" +,;=[]") == std::string::npos &&
                       base.find('.') == std::string::npos;
    if (plain && !base.empty() && base.size() <= 8 && extension.size() <= 3)
        return AsciiUpper(name);

    std::string shortBase;
    for (char c : base) {
        if (c == ' ' || c == '.')
            continue;
        shortBase += std::string("+,;=[]").find(c) == std::string::npos ? c : '_';
    }
    std::string shortName = AsciiUpper(shortBase.substr(0, 6)) + "~1";
    if (!extension.empty())
        shortName += "." + AsciiUpper(extension.substr(0, 3));
    return shortName;
}

SimFileSystem::SimFileSystem(SimContext& context) : m_context(context)
{
    AddFolder("C:\\");
}

std::string SimFileSystem::FullPath(const std::string& path) const
{
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    std::string drive = m_current.substr(0, 2);
    std::string rest;
    if (p.size() >= 2 && p[1] == ':') {
        drive = p.substr(0, 2);
        rest = p.substr(2);
        if (rest.empty() || rest[0] != '\\') {
            // "D:AUDIO": relative to the current directory when it is on D:.
            std::string base = EqualNoCase(m_current.substr(0, 2), drive) ? m_current.substr(2)
                                                                          : std::string("\\");
            rest = base + "\\" + rest;
        }
    } else if (!p.empty() && p[0] == '\\') {
        rest = p;
    } else {
        rest = m_current.substr(2) + "\\" + p;
    }

    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos)
            end = rest.size();
        std::string part = rest.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string full = AsciiUpper(drive) + "\\";
    for (std::size_t i = 0; i < parts.size(); ++i)
        full += (i ? "\\" : "") + parts[i];
    return full;
}

SimFileSystem::Node* SimFileSystem::Lookup(const std::string& path)
{
    auto it = m_nodes.find(AsciiUpper(FullPath(path)));
    return it == m_nodes.end() ? nullptr : &it->second;
}

const SimFileSystem::Node* SimFileSystem::Lookup(const std::string& path) const
{
    auto it = m_nodes.find(AsciiUpper(FullPath(path)));
    return it == m_nodes.end() ? nullptr : &it->second;
}

bool SimFileSystem::ParentIsFolder(const std::string& fullPath) const
{
    std::string parent = ParentOf(fullPath);
    if (parent.empty() || parent == fullPath)
        return false;
    const Node* node = Lookup(parent);
    return node && node->folder;
}

bool SimFileSystem::OnReadOnlyDrive(const std::string& path) const
{
    const std::string drive = FullPath(path).substr(0, 2);
    for (const std::string& readOnly : readOnlyDrives) {
        if (EqualNoCase(drive, readOnly))
            return true;
    }
    return false;
}

void SimFileSystem::AddFolder(const std::string& path)
{
    std::string full = FullPath(path);
    std::string parent = ParentOf(full);
    if (!parent.empty() && parent != full && !Exists(parent))
        AddFolder(parent);
    Node& node = m_nodes[AsciiUpper(full)];
    node.path = full;
    node.folder = true;
    node.attributes = platform::kAttributeDirectory;
}

void SimFileSystem::AddFile(const std::string& path, const std::string& bytes,
                            std::uint32_t attributes)
{
    PutFile(path, bytes, attributes);
}

SimFileSystem::Node& SimFileSystem::PutFile(const std::string& path, const std::string& bytes,
                                            std::uint32_t attributes)
{
    std::string full = FullPath(path);
    AddFolder(ParentOf(full));
    Node& node = m_nodes[AsciiUpper(full)];
    node.path = full;
    node.folder = false;
    node.attributes = attributes;
    node.bytes = bytes;
    node.readLater = nullptr;
    return node;
}

void SimFileSystem::AddFileReadLater(const std::string& path, std::function<std::string()> read,
                                     std::uint32_t attributes)
{
    PutFile(path, std::string(), attributes).readLater = std::move(read);
}

std::string& SimFileSystem::BytesOf(const Node& node)
{
    if (node.readLater) {
        node.bytes = node.readLater();
        node.readLater = nullptr;
    }
    return node.bytes;
}

bool SimFileSystem::RefusedAsTooLong(const std::string& function, const std::string& detail,
                                     const std::string& path, std::size_t longest,
                                     bool setsLastError)
{
    if (path.size() <= longest)
        return false;
    m_context.Record(function, detail + " (path too long)");
    if (setsLastError)
        m_context.lastError = error::kFilenameExcedRange;
    return true;
}

bool SimFileSystem::Exists(const std::string& path) const
{
    return Lookup(path) != nullptr;
}

bool SimFileSystem::IsFolder(const std::string& path) const
{
    const Node* node = Lookup(path);
    return node && node->folder;
}

std::optional<std::string> SimFileSystem::Read(const std::string& path) const
{
    const Node* node = Lookup(path);
    if (!node || node->folder)
        return std::nullopt;
    return BytesOf(*node);
}

std::optional<std::uint32_t> SimFileSystem::Attributes(const std::string& path) const
{
    const Node* node = Lookup(path);
    if (!node)
        return std::nullopt;
    return node->attributes;
}

std::vector<std::string> SimFileSystem::List(const std::string& folder) const
{
    std::vector<std::string> names;
    for (const Node* entry : Entries(folder))
        names.push_back(NameOf(entry->path));
    return names;
}

std::vector<const SimFileSystem::Node*> SimFileSystem::Entries(const std::string& folder) const
{
    std::string prefix = AsciiUpper(FullPath(folder));
    if (prefix.back() != '\\')
        prefix += '\\';
    // Everything below the folder sorts right after it; its own entries are
    // those without a further backslash.
    std::vector<const Node*> entries;
    for (auto it = m_nodes.lower_bound(prefix);
         it != m_nodes.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        if (it->first.size() > prefix.size() &&
            it->first.find('\\', prefix.size()) == std::string::npos)
            entries.push_back(&it->second);
    }
    return entries;
}

std::vector<std::string> SimFileSystem::FilesBelow(const std::string& folder) const
{
    std::string prefix = AsciiUpper(FullPath(folder));
    if (prefix.back() != '\\')
        prefix += '\\';
    std::vector<std::string> files;
    for (const auto& [key, node] : m_nodes) {
        if (!node.folder && key.compare(0, prefix.size(), prefix) == 0)
            files.push_back(node.path);
    }
    return files;
}

void SimFileSystem::Erase(const std::string& path)
{
    m_nodes.erase(AsciiUpper(FullPath(path)));
}

void SimFileSystem::SetCurrent(const std::string& path)
{
    m_current = FullPath(path);
}

bool SimFileSystem::Load(const std::string& path, std::string& bytes) const
{
    const Node* node = Lookup(path);
    if (!node || node->folder)
        return false;
    bytes = BytesOf(*node);
    return true;
}

bool SimFileSystem::Store(const std::string& path, const std::string& bytes)
{
    std::string full = FullPath(path);
    if (OnReadOnlyDrive(full))
        return false;
    Node* node = Lookup(full);
    if (node) {
        if (node->folder || (node->attributes & platform::kAttributeReadOnly))
            return false;
        node->bytes = bytes;
        node->readLater = nullptr;
    } else {
        if (!ParentIsFolder(full))
            return false;
        AddFile(full, bytes);
    }
    Changed(full);
    return true;
}

void SimFileSystem::Changed(const std::string& path)
{
    if (onChange)
        onChange(FullPath(path));
}

std::vector<std::string> SimFileSystem::OpenSearches() const
{
    std::vector<std::string> open;
    for (const auto& [serial, pattern] : m_openSearches)
        open.push_back(pattern);
    return open;
}

std::vector<std::string> SimFileSystem::OpenStreams() const
{
    std::vector<std::string> open;
    for (const auto& [serial, path] : m_openStreams)
        open.push_back(path);
    return open;
}

std::vector<SimFileSystem::Node> SimFileSystem::Listing() const
{
    std::vector<Node> listing;
    for (const auto& [key, node] : m_nodes) {
        BytesOf(node);
        listing.push_back(node);
    }
    return listing;
}

void SimFileSystem::AddNodes(const std::vector<Node>& nodes)
{
    for (const Node& node : nodes)
        m_nodes.insert_or_assign(m_nodes.end(), AsciiUpper(node.path), node);
}

std::string SimFileSystem::WindowsDirectory()
{
    if (m_context.Fails("GetWindowsDirectoryA", "", error::kNotEnoughMemory))
        return std::string();
    m_context.Record("GetWindowsDirectoryA", windowsDirectory);
    return windowsDirectory;
}

std::string SimFileSystem::CurrentDirectory()
{
    if (m_context.Fails("GetCurrentDirectoryA", "", error::kNotEnoughMemory))
        return std::string();
    m_context.Record("GetCurrentDirectoryA", m_current);
    return m_current;
}

bool SimFileSystem::ChangeDirectory(const std::string& path)
{
    if (m_context.Fails("SetCurrentDirectoryA", path, error::kAccessDenied))
        return false;
    if (RefusedAsTooLong("SetCurrentDirectoryA", path, path, kLongestPath))
        return false;
    const Node* node = Lookup(path);
    bool present = node && node->folder;
    m_context.Record("SetCurrentDirectoryA", path + (present ? "" : " (not found)"));
    m_context.Effect("folder-test", {TextField("path", path), FlagField("present", present)});
    if (!present) {
        m_context.lastError = error::kFileNotFound;
        return false;
    }
    m_current = node->path;
    return true;
}

bool SimFileSystem::MakeDirectory(const std::string& path)
{
    if (m_context.Fails("CreateDirectoryA", path, error::kAccessDenied))
        return false;
    if (RefusedAsTooLong("CreateDirectoryA", path, path, kLongestNewFolder))
        return false;
    if (OnReadOnlyDrive(path)) {
        m_context.Record("CreateDirectoryA", path + " (read-only drive)");
        m_context.lastError = error::kAccessDenied;
        return false;
    }
    m_context.Record("CreateDirectoryA", path);
    std::string full = FullPath(path);
    if (Exists(full)) {
        m_context.lastError = error::kAlreadyExists;
        return false;
    }
    if (!ParentIsFolder(full)) {
        m_context.lastError = error::kPathNotFound;
        return false;
    }
    AddFolder(full);
    m_context.Effect("mkdir", {TextField("path", path)});
    return true;
}

std::unique_ptr<platform::FileSearch> SimFileSystem::Find(const std::string& pattern)
{
    if (m_context.Fails("FindFirstFileA", pattern, error::kAccessDenied))
        return nullptr;
    if (RefusedAsTooLong("FindFirstFileA", pattern, pattern, kLongestPath))
        return nullptr;
    m_context.Record("FindFirstFileA", pattern);
    std::string full = FullPath(pattern);
    std::string folder = ParentOf(full);
    std::string mask = NameOf(full);
    const Node* folderNode = Lookup(folder);

    std::vector<platform::FoundFile> found;
    if (folderNode && folderNode->folder) {
        if (folder.size() > 3) {
            for (const char* dots : {".", ".."}) {
                if (MatchesWildcard(dots, mask))
                    found.push_back({dots, platform::kAttributeDirectory});
            }
        }
        for (const Node* entry : Entries(folder)) {
            const std::string name = NameOf(entry->path);
            if (MatchesWildcard(name, mask) || MatchesWildcard(ShortNameOf(name), mask))
                found.push_back({name, entry->attributes});
        }
    }
    std::uint64_t fileCount = 0;
    std::uint64_t folderCount = 0;
    for (const platform::FoundFile& entry : found) {
        if (!(entry.attributes & platform::kAttributeDirectory))
            ++fileCount;
        else if (entry.name != "." && entry.name != "..")
            ++folderCount;
    }
    m_context.Effect("search", {TextField("pattern", pattern), NumberField("files", fileCount),
                                NumberField("folders", folderCount)});
    if (found.empty()) {
        m_context.lastError = error::kFileNotFound;
        return nullptr;
    }
    return std::make_unique<Search>(*this, pattern, std::move(found));
}

bool SimFileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists)
{
    std::string detail = from + " -> " + to;
    if (m_context.Fails("CopyFileA", detail, error::kAccessDenied))
        return false;
    const Node* source = Lookup(from);
    const std::string fullTo = FullPath(to);
    Node* target = Lookup(fullTo);
    struct Refusal {
        const char* why = nullptr;  // as the record shows it; none: the copy is made
        std::uint32_t lastError = 0;
    };
    Refusal refusal;
    if (from.size() > kLongestPath || to.size() > kLongestPath)
        refusal = {"path too long", error::kFilenameExcedRange};
    else if (!source || source->folder)
        refusal = {"no source", error::kFileNotFound};
    else if (!ParentIsFolder(fullTo))
        refusal = {"no target folder", error::kFileNotFound};
    else if (OnReadOnlyDrive(fullTo))
        refusal = {"read-only drive", error::kAccessDenied};
    else if (target && (target->folder || failIfExists))
        refusal = {"target exists", error::kAccessDenied};
    else if (target && (target->attributes & platform::kAttributeReadOnly))
        refusal = {"target read-only", error::kAccessDenied};
    if (refusal.why) {
        m_context.Record("CopyFileA", detail + " (" + refusal.why + ")");
        m_context.Effect("copy", {TextField("from", from), TextField("to", to),
                                  TextField("error", refusal.why)});
        m_context.lastError = refusal.lastError;
        return false;
    }
    m_context.Record("CopyFileA", detail);
    m_context.Effect("copy", {TextField("from", from), TextField("to", to)});
    // The copy takes the source's bytes as they are, read or still to be read.
    Node copy = *source;
    copy.path = fullTo;
    m_nodes[AsciiUpper(fullTo)] = copy;
    Changed(to);
    return true;
}

bool SimFileSystem::Remove(const std::string& path)
{
    if (m_context.Fails("DeleteFileA", path, error::kAccessDenied))
        return false;
    if (RefusedAsTooLong("DeleteFileA", path, path, kLongestPath))
        return false;
    Node* node = Lookup(path);
    bool removable = node && !node->folder &&
                     !(node->attributes & platform::kAttributeReadOnly) && !OnReadOnlyDrive(path);
    m_context.Record("DeleteFileA", path + (removable ? "" : " (not deleted)"));
    if (!removable) {
        m_context.lastError = node ? error::kAccessDenied : error::kFileNotFound;
        return false;
    }
    m_nodes.erase(AsciiUpper(FullPath(path)));
    m_context.Effect("delete", {TextField("path", path)});
    Changed(path);
    return true;
}

bool SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes)
{
    std::string detail = path + " " + Hex(attributes);
    if (m_context.Fails("SetFileAttributesA", detail, error::kAccessDenied))
        return false;
    if (RefusedAsTooLong("SetFileAttributesA", detail, path, kLongestPath))
        return false;
    Node* node = Lookup(path);
    const bool readOnlyDrive = node && OnReadOnlyDrive(path);
    m_context.Record("SetFileAttributesA", detail + (!node          ? " (not found)"
                                                     : readOnlyDrive ? " (read-only drive)"
                                                                     : ""));
    if (!node || readOnlyDrive) {
        m_context.lastError = node ? error::kAccessDenied : error::kFileNotFound;
        return false;
    }
    const std::uint32_t before = node->attributes;
    node->attributes = node->folder ? (attributes | platform::kAttributeDirectory) : attributes;
    if (node->attributes != before) {
        m_context.Effect("attributes", {TextField("path", path),
                                        TextField("attributes", AttributeNames(node->attributes))});
    }
    return true;
}

// The C runtime's calls report failure through errno, not the last error.
bool SimFileSystem::OpensForReading(const std::string& path)
{
    if (m_context.Fails("fopen", path + " rb"))
        return false;
    if (RefusedAsTooLong("fopen", path + " rb", path, kLongestPath, false))
        return false;
    const Node* node = Lookup(path);
    bool opens = node && !node->folder;
    m_context.Record("fopen", path + " rb" + (opens ? "" : " (not found)"));
    m_context.Effect("file-test", {TextField("path", path), FlagField("present", opens)});
    return opens;
}

std::unique_ptr<platform::ByteStream> SimFileSystem::OpenForUpdate(const std::string& path)
{
    if (m_context.Fails("fopen", path + " r+b"))
        return nullptr;
    if (RefusedAsTooLong("fopen", path + " r+b", path, kLongestPath, false))
        return nullptr;
    Node* node = Lookup(path);
    bool opens = node && !node->folder && !(node->attributes & platform::kAttributeReadOnly) &&
                 !OnReadOnlyDrive(path);
    m_context.Record("fopen", path + " r+b" + (opens ? "" : " (not opened)"));
    if (!opens)
        return nullptr;
    return std::make_unique<Stream>(*this, *node);
}

}  // namespace sim
