#include "platform/logging/own_log_file.h"

#include <cstring>

#include "common/ascii.h"

namespace logging {

namespace {

// Device names in every folder. Windows documents COM0 to COM9 and LPT0 to
// LPT9 as reserved, and newer Windows also takes the superscript digits of
// the ANSI code page ("COM¹"); the console's own two names open the console.
constexpr const char* kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
constexpr const char* kNumberedDevices[] = {"COM", "LPT"};
constexpr const char* kDeviceDigits = "0123456789\xB9\xB2\xB3";

// Characters no file name holds: wildcards (a look would match other
// files), a colon after the drive (a stream of another file) and the rest
// Windows refuses.
constexpr const char* kNotInAName = "*?<>|\":";

bool OneOf(char c, const char* set)
{
    return std::memchr(set, c, std::strlen(set)) != nullptr;
}

bool IsDeviceName(const std::string& base)
{
    for (const char* name : kDeviceNames) {
        if (SameTextIgnoringCase(base.c_str(), name))
            return true;
    }
    for (const char* prefix : kNumberedDevices) {
        if (base.size() == 4 && SameTextIgnoringCase(base.substr(0, 3).c_str(), prefix) &&
            OneOf(base[3], kDeviceDigits))
            return true;
    }
    return false;
}

}  // namespace

bool NamesNoFileOfItsOwn(const std::string& path)
{
    // Windows sees the path up to its first zero byte.
    const char* text = path.c_str();
    // "\\.\" opens the device namespace itself: ports, pipes, disks.
    if (std::strncmp(text, "\\\\.\\", 4) == 0 || std::strncmp(text, "//./", 4) == 0)
        return true;
    if (text[0] != '\0' && text[1] == ':')
        text += 2;
    const char* last = text;
    for (const char* c = text; *c != '\0'; ++c) {
        if (static_cast<unsigned char>(*c) < 0x20 || OneOf(*c, kNotInAName))
            return true;
        if (*c == '\\' || *c == '/')
            last = c + 1;
    }
    if (*last == '\0')
        return true;  // a folder's path
    // Windows compares the name up to its first dot, trailing blanks dropped:
    // "nul.txt" and "CON .log" are devices too.
    std::size_t length = 0;
    while (last[length] != '\0' && last[length] != '.')
        ++length;
    while (length > 0 && last[length - 1] == ' ')
        --length;
    return IsDeviceName(std::string(last, length));
}

bool IsOwnLogFile(const std::string& path, const std::string& blockStart, LogHost& host)
{
    if (NamesNoFileOfItsOwn(path))
        return false;
    const PathLook look = host.Look(path, blockStart.size());
    if (look.kind == PathLook::Kind::File)
        return look.start == blockStart;
    return look.kind == PathLook::Kind::Nothing;
}

}  // namespace logging
