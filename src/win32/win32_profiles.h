#pragma once

#include "platform/profiles.h"

namespace win32 {

class Win32Profiles : public platform::Profiles {
public:
    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t bufferSize,
                          const std::string& file) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& file) override;
};

}  // namespace win32
