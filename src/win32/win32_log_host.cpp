#include "win32/win32_log_host.h"

#include <windows.h>

#include <cstdio>

namespace win32 {

namespace {

// Puts the thread's last error back when the log's own work is done.
class LastErrorKept {
public:
    LastErrorKept() : m_error(GetLastError()) {}
    ~LastErrorKept() { SetLastError(m_error); }
    LastErrorKept(const LastErrorKept&) = delete;
    LastErrorKept& operator=(const LastErrorKept&) = delete;

private:
    DWORD m_error;
};

}  // namespace

std::uint32_t Win32LogHost::Milliseconds()
{
    return GetTickCount();
}

std::uint32_t Win32LogHost::LastError()
{
    return GetLastError();
}

std::string Win32LogHost::ErrorText(std::uint32_t code)
{
    LastErrorKept kept;
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, sizeof buffer, nullptr);
    // The system's texts end with a line break, and some hold more: one line.
    std::string text(buffer, length);
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string Win32LogHost::WindowsDirectory()
{
    LastErrorKept kept;
    char buffer[MAX_PATH + 1] = {};
    UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

logging::PathLook Win32LogHost::Look(const std::string& path, std::size_t count)
{
    LastErrorKept kept;
    logging::PathLook look;
    // A search names what is there without opening it; the path holds no
    // wildcard (the log refuses those before it looks).
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // Nothing there: no such file, no such folder, or (as older Windows
        // may answer a search that matches nothing) no more files.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_NO_MORE_FILES)
            look.kind = logging::PathLook::Kind::Nothing;
        return look;
    }
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return look;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return look;
    look.kind = logging::PathLook::Kind::File;
    for (int byte; look.start.size() < count && (byte = std::fgetc(file)) != EOF;)
        look.start += static_cast<char>(byte);
    std::fclose(file);
    return look;
}

bool Win32LogHost::Append(const std::string& path, const std::string& bytes)
{
    LastErrorKept kept;
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace win32
