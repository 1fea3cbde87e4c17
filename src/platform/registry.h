// The registry as the installer uses it: keys opened or not, string values
// read, written and deleted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace platform {

enum class RootKey { LocalMachine, CurrentUser, Users };

enum class RegAccess : std::uint32_t {
    QueryValue = 0x0001,  // KEY_QUERY_VALUE
    AllAccess = 0xF003F,  // KEY_ALL_ACCESS
};

constexpr std::uint32_t kRegSz = 1;        // REG_SZ
constexpr std::uint32_t kRegExpandSz = 2;  // REG_EXPAND_SZ

// A string value as read, with its type: a REG_EXPAND_SZ text holds
// environment references such as "%SystemRoot%" that its reader expands.
struct RegText {
    std::string text;
    std::uint32_t type = kRegSz;
};

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA; nothing when the key does not open with that access.
    virtual std::optional<RegKey> OpenKey(RootKey root, const std::string& subKey,
                                          RegAccess access) = 0;

    // RegQueryValueExA into a buffer of `bufferSize` bytes. A value larger than
    // the buffer does not read. The text ends at the first zero byte or at the
    // end of the data, whichever comes first, so data without a terminating
    // zero is never read past its end.
    virtual std::optional<RegText> QueryString(RegKey key, const std::string& name,
                                               std::size_t bufferSize) = 0;

    // RegSetValueExA, REG_SZ, with the length of the text without its zero.
    virtual bool SetString(RegKey key, const std::string& name, const std::string& text) = 0;

    // RegDeleteValueA.
    virtual bool DeleteValue(RegKey key, const std::string& name) = 0;

    // RegCloseKey.
    virtual void CloseKey(RegKey key) = 0;
};

}  // namespace platform
