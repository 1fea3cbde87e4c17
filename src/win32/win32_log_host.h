#pragma once

#include "logging/log_host.h"

namespace win32 {

// What the install log needs of Windows. None of it changes the thread's
// last error: the system may look at it after the call being logged.
class Win32LogHost : public logging::LogHost {
public:
    std::uint32_t Milliseconds() override;
    std::uint32_t LastError() override;
    std::string ErrorText(std::uint32_t code) override;
    std::string WindowsDirectory() override;
    logging::PathLook Look(const std::string& path, std::size_t count) override;
    bool Append(const std::string& path, const std::string& bytes) override;
};

}  // namespace win32
