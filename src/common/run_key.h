// The Run key: programs Windows starts at the next logon.
#pragma once

#include <optional>

#include "platform/registry.h"

inline constexpr const char* kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The mixer replacement that the driver installation registers.
inline constexpr const char* kReplaceMixerValue = "Replace Quarnel Mixer";
// A value of the application package, removed at every start.
inline constexpr const char* kPackageRunValue = "PCI Audio Applications";

// HKEY_LOCAL_MACHINE's Run key, opened with KEY_ALL_ACCESS; nothing for a
// user who may not write there.
std::optional<platform::RegKey> OpenRunKey(platform::Registry& registry);
