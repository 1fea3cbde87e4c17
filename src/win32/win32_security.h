#pragma once

#include "platform/security.h"

namespace win32 {

class Win32Security : public platform::Security {
public:
    std::optional<platform::TokenHandle> OpenProcessTokenForAdjusting() override;
    std::optional<platform::Luid> LookupPrivilege(const std::string& name) override;
    bool EnablePrivilege(platform::TokenHandle token, const platform::Luid& privilege) override;
    void CloseToken(platform::TokenHandle token) override;
    bool ExitWindows(std::uint32_t flags, std::uint32_t reason) override;
};

}  // namespace win32
