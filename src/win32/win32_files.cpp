#include "win32/win32_files.h"

#include <windows.h>

#include <cstdio>

#include "win32/system_text.h"

namespace win32 {

namespace {

// A search that FindFirstFileA began, with what it found first.
class Win32FileSearch : public platform::FileSearch {
public:
    Win32FileSearch(HANDLE handle, const WIN32_FIND_DATAA& first)
        : m_data(first), m_handle(handle), m_firstPending(true)
    {
    }
    ~Win32FileSearch() override { FindClose(m_handle); }
    Win32FileSearch(const Win32FileSearch&) = delete;
    Win32FileSearch& operator=(const Win32FileSearch&) = delete;

    bool Next(platform::FoundFile& found) override
    {
        if (m_firstPending)
            m_firstPending = false;
        else if (!FindNextFileA(m_handle, &m_data))
            return false;
        found.name = ArrayText(m_data.cFileName, sizeof(m_data.cFileName));
        found.attributes = m_data.dwFileAttributes;
        return true;
    }

private:
    WIN32_FIND_DATAA m_data = {};
    HANDLE m_handle;
    bool m_firstPending;
};

class CrtByteStream : public platform::ByteStream {
public:
    explicit CrtByteStream(std::FILE* file) : m_file(file) {}
    ~CrtByteStream() override { Close(); }
    CrtByteStream(const CrtByteStream&) = delete;
    CrtByteStream& operator=(const CrtByteStream&) = delete;

    int GetByte() override { return m_file ? std::fgetc(m_file) : EOF; }
    long Tell() override { return m_file ? std::ftell(m_file) : -1L; }
    bool Seek(long offset) override
    {
        return m_file && std::fseek(m_file, offset, SEEK_SET) == 0;
    }
    bool SeekToEnd() override { return m_file && std::fseek(m_file, 0, SEEK_END) == 0; }
    bool PutByte(char byte) override
    {
        return m_file && std::fputc(static_cast<unsigned char>(byte), m_file) != EOF;
    }
    void Flush() override
    {
        if (m_file)
            std::fflush(m_file);
    }
    void Close() override
    {
        if (m_file) {
            std::fclose(m_file);
            m_file = nullptr;
        }
    }

private:
    std::FILE* m_file;
};

}  // namespace

std::string Win32FileSystem::WindowsDirectory()
{
    return FetchText([](char* buffer, DWORD size) {
        return static_cast<DWORD>(GetWindowsDirectoryA(buffer, size));
    });
}

std::string Win32FileSystem::CurrentDirectory()
{
    return FetchText([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

bool Win32FileSystem::ChangeDirectory(const std::string& path)
{
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

bool Win32FileSystem::MakeDirectory(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::unique_ptr<platform::FileSearch> Win32FileSystem::Find(const std::string& pattern)
{
    // A search that finds nothing is no search, as for the simulated Windows;
    // the caller sees FindFirstFileA's error as the last error.
    WIN32_FIND_DATAA first = {};
    HANDLE handle = FindFirstFileA(pattern.c_str(), &first);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32FileSearch>(handle, first);
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool failIfExists)
{
    return CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32FileSystem::Remove(const std::string& path)
{
    return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes)
{
    return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool Win32FileSystem::OpensForReading(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

std::unique_ptr<platform::ByteStream> Win32FileSystem::OpenForUpdate(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return nullptr;
    return std::make_unique<CrtByteStream>(file);
}

}  // namespace win32
