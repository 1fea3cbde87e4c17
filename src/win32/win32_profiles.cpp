#include "win32/win32_profiles.h"

#include <windows.h>

#include <vector>

namespace win32 {

int Win32Profiles::GetInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& file)
{
    return static_cast<int>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, file.c_str()));
}

std::string Win32Profiles::GetString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, std::size_t bufferSize,
                                     const std::string& file)
{
    if (bufferSize == 0)
        return std::string();
    std::vector<char> buffer(bufferSize, '\0');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                            buffer.data(), static_cast<DWORD>(bufferSize),
                                            file.c_str());
    if (length >= bufferSize)
        length = static_cast<DWORD>(bufferSize - 1);
    return std::string(buffer.data(), length);
}

bool Win32Profiles::WriteString(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& file)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      file.c_str()) != FALSE;
}

}  // namespace win32
