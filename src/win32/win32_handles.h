// Conversions between the platform's opaque handles and the Windows handles
// they stand for: the opaque value is the Windows handle's bits.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace win32 {

template <typename Opaque, typename Native>
Opaque ToOpaque(Native native)
{
    return static_cast<Opaque>(reinterpret_cast<std::uintptr_t>(native));
}

template <typename Native, typename Opaque>
Native ToNative(Opaque opaque)
{
    return reinterpret_cast<Native>(static_cast<std::uintptr_t>(opaque));
}

}  // namespace win32
