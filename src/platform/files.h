// Files and folders: the Windows directory, the current directory, folder
// creation, searches, copies, deletions, attributes and the C runtime's
// buffered streams.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

constexpr std::uint32_t kAttributeReadOnly = 0x01;   // FILE_ATTRIBUTE_READONLY
constexpr std::uint32_t kAttributeDirectory = 0x10;  // FILE_ATTRIBUTE_DIRECTORY
constexpr std::uint32_t kAttributeArchive = 0x20;    // FILE_ATTRIBUTE_ARCHIVE
constexpr std::uint32_t kAttributeNormal = 0x80;     // FILE_ATTRIBUTE_NORMAL

struct FoundFile {
    std::string name;  // the name only, without its folder
    std::uint32_t attributes = 0;
};

// One FindFirstFileA / FindNextFileA search. The first Next() returns what
// FindFirstFileA found; the search is closed when the object goes.
class FileSearch {
public:
    virtual ~FileSearch() = default;
    virtual bool Next(FoundFile& found) = 0;
};

// A file opened with the C runtime in binary update mode ("r+b").
class ByteStream {
public:
    virtual ~ByteStream() = default;
    virtual int GetByte() = 0;  // fgetc: the byte, or -1 at the end
    virtual long Tell() = 0;
    virtual bool Seek(long offset) = 0;  // from the start of the file
    virtual bool SeekToEnd() = 0;
    virtual bool PutByte(char byte) = 0;
    virtual void Flush() = 0;
    virtual void Close() = 0;  // also done by the destructor
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // GetWindowsDirectoryA, as the system reports it (no backslash added).
    virtual std::string WindowsDirectory() = 0;
    // GetCurrentDirectoryA.
    virtual std::string CurrentDirectory() = 0;
    // SetCurrentDirectoryA; success means the folder is present.
    virtual bool ChangeDirectory(const std::string& path) = 0;
    // CreateDirectoryA without security attributes.
    virtual bool MakeDirectory(const std::string& path) = 0;
    // FindFirstFileA on a pattern with wildcards; nothing when it finds
    // nothing (its error is then the thread's last error).
    virtual std::unique_ptr<FileSearch> Find(const std::string& pattern) = 0;
    // CopyFileA.
    virtual bool Copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
    // DeleteFileA.
    virtual bool Remove(const std::string& path) = 0;
    // SetFileAttributesA.
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // fopen(path, "rb") followed by fclose: the presence test for files.
    virtual bool OpensForReading(const std::string& path) = 0;
    // fopen(path, "r+b"); nothing when it does not open.
    virtual std::unique_ptr<ByteStream> OpenForUpdate(const std::string& path) = 0;
};

}  // namespace platform
