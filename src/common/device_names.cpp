#include "common/device_names.h"

#include <cstring>

#include "common/ascii.h"

namespace {

constexpr const char* kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
constexpr const char* kNumberedDevices[] = {"COM", "LPT"};
constexpr const char* kDeviceDigits = "0123456789\xB9\xB2\xB3";

}  // namespace

bool IsDeviceName(const std::string& name)
{
    std::size_t length = name.find('.');
    if (length == std::string::npos)
        length = name.size();
    while (length > 0 && name[length - 1] == ' ')
        --length;
    const std::string base = name.substr(0, length);
    for (const char* device : kDeviceNames) {
        if (SameTextIgnoringCase(base.c_str(), device))
            return true;
    }
    for (const char* prefix : kNumberedDevices) {
        if (base.size() == 4 && SameTextIgnoringCase(base.substr(0, 3).c_str(), prefix) &&
            std::memchr(kDeviceDigits, base[3], std::strlen(kDeviceDigits)) != nullptr)
            return true;
    }
    return false;
}
