#include "win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "win32/win32_handles.h"

namespace win32 {

namespace {

// The registry functions answer with their error instead of setting the
// thread's last error; it is set here as well, so that a failed call reads
// like any other one (the log on request shows it).
bool Succeeded(LONG status)
{
    if (status == ERROR_SUCCESS)
        return true;
    SetLastError(static_cast<DWORD>(status));
    return false;
}

HKEY RootHandle(platform::RootKey root)
{
    switch (root) {
    case platform::RootKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case platform::RootKey::CurrentUser:
        return HKEY_CURRENT_USER;
    case platform::RootKey::Users:
        break;
    }
    return HKEY_USERS;
}

}  // namespace

std::optional<platform::RegKey> Win32Registry::OpenKey(platform::RootKey root,
                                                       const std::string& subKey,
                                                       platform::RegAccess access)
{
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(RootHandle(root), subKey.c_str(), 0,
                                static_cast<REGSAM>(access), &key);
    if (!Succeeded(status))
        return std::nullopt;
    return ToOpaque<platform::RegKey>(key);
}

std::optional<platform::RegText> Win32Registry::QueryString(platform::RegKey key,
                                                            const std::string& name,
                                                            std::size_t bufferSize)
{
    // One spare byte so that the buffer is never empty; the call is told the
    // caller's size only.
    std::vector<char> buffer(bufferSize + 1, '\0');
    DWORD size = static_cast<DWORD>(bufferSize);
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(ToNative<HKEY>(key), name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (!Succeeded(status))
        return std::nullopt;

    // Data without a terminating zero ends at its size, never beyond it.
    std::size_t length = size < bufferSize ? size : bufferSize;
    std::size_t zero = 0;
    while (zero < length && buffer[zero] != '\0')
        ++zero;
    return platform::RegText{std::string(buffer.data(), zero), type};
}

bool Win32Registry::SetString(platform::RegKey key, const std::string& name,
                              const std::string& text)
{
    LONG status = RegSetValueExA(ToNative<HKEY>(key), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size()));
    return Succeeded(status);
}

bool Win32Registry::DeleteValue(platform::RegKey key, const std::string& name)
{
    return Succeeded(RegDeleteValueA(ToNative<HKEY>(key), name.c_str()));
}

void Win32Registry::CloseKey(platform::RegKey key)
{
    RegCloseKey(ToNative<HKEY>(key));
}

}  // namespace win32
