// Opaque handles that the platform hands out. Each kind is its own type so that
// a registry key can never be passed where a window is expected.
#pragma once

#include <cstdint>

namespace platform {

enum class RegKey : std::uintptr_t {};
enum class WindowHandle : std::uintptr_t { None = 0 };
enum class ProcessHandle : std::uintptr_t {};
enum class TokenHandle : std::uintptr_t {};
enum class IconHandle : std::uintptr_t { None = 0 };
enum class DeviceSet : std::uintptr_t {};
enum class DevNode : std::uintptr_t {};
enum class PaintContext : std::uintptr_t {};

constexpr WindowHandle kNoWindow = WindowHandle::None;

}  // namespace platform
