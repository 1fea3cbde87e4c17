// Which Windows this is, as GetVersionExA reports it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct VersionInfo {
    std::uint32_t platformId = 0;  // 1 = Windows 95/98/ME, 2 = NT
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::string servicePack{};  // szCSDVersion: "Service Pack 2", " A" on 95 OSR2, or empty
};

class Version {
public:
    virtual ~Version() = default;
    // GetVersionExA with an OSVERSIONINFOA of size 148; the result is not examined.
    virtual VersionInfo Query() = 0;
};

}  // namespace platform
