// What the install log needs of Windows for itself: the time, the system's
// text for an error code, a look at the file it is to write and the file to
// append to. None of it is a service of the installer's, and a run that asks
// for no log calls none of it but the clock and the last error (plain reads).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace logging {

// What a look at a path found.
struct PathLook {
    enum class Kind {
        Nothing,  // no file or folder of that name
        File,     // a file; `start` holds its first bytes
        Other,    // a folder, or something that could not be looked at
    };
    Kind kind = Kind::Other;
    std::string start;
};

class LogHost {
public:
    virtual ~LogHost() = default;

    // Milliseconds on a clock that only moves on (GetTickCount).
    virtual std::uint32_t Milliseconds() = 0;
    // The thread's last error, right after a call of the system's that
    // failed (GetLastError): a plain read, like the clock.
    virtual std::uint32_t LastError() = 0;
    // The system's message text for an error code, on one line; empty when
    // the system has none (FormatMessageA).
    virtual std::string ErrorText(std::uint32_t code) = 0;
    // The Windows directory, for a log path given without a folder.
    virtual std::string WindowsDirectory() = 0;
    // What is at the path now, without opening it but to read the first
    // `count` bytes of a file (FindFirstFileA, then fopen "rb").
    virtual PathLook Look(const std::string& path, std::size_t count) = 0;
    // Appends the bytes to the file, creating it when missing; never
    // truncates. False when the file cannot be written.
    virtual bool Append(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace logging
