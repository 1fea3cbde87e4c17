// Profile (INI) files with the Windows rules: sections and keys without case,
// values trimmed and unquoted, a bare file name meaning the Windows directory,
// and a write creating file, section and key.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

class Profiles {
public:
    virtual ~Profiles() = default;

    // GetPrivateProfileIntA.
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue,
                       const std::string& file) = 0;

    // GetPrivateProfileStringA into a buffer of `bufferSize` characters, so at
    // most bufferSize - 1 characters come back.
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, std::size_t bufferSize,
                                  const std::string& file) = 0;

    // WritePrivateProfileStringA.
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& file) = 0;
};

}  // namespace platform
