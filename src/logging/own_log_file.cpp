#include "logging/own_log_file.h"

#include <cstring>

#include "common/device_names.h"

namespace logging {

namespace {

// Characters no file name holds: wildcards (a look would match other
// files), a colon after the drive (a stream of another file) and the rest
// Windows refuses.
constexpr const char* kNotInAName = "*?<>|\":";

bool OneOf(char c, const char* set)
{
    return std::memchr(set, c, std::strlen(set)) != nullptr;
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
    return IsDeviceName(last);
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
