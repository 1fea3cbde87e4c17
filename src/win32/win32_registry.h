#pragma once

#include "platform/registry.h"

namespace win32 {

class Win32Registry : public platform::Registry {
public:
    std::optional<platform::RegKey> OpenKey(platform::RootKey root, const std::string& subKey,
                                            platform::RegAccess access) override;
    std::optional<platform::RegText> QueryString(platform::RegKey key, const std::string& name,
                                           std::size_t bufferSize) override;
    bool SetString(platform::RegKey key, const std::string& name,
                   const std::string& text) override;
    bool DeleteValue(platform::RegKey key, const std::string& name) override;
    void CloseKey(platform::RegKey key) override;
};

}  // namespace win32
