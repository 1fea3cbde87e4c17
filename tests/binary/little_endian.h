// The one bounds-checked little-endian read that the PE and resource readers share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reads `size` bytes (at most 4) at `offset` as a little-endian number into
// `value`; false, with `value` zero, when any of them lies past the end.
inline bool ReadLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                             std::size_t size, std::uint32_t& value)
{
    value = 0;
    if (offset > bytes.size() || size > bytes.size() - offset)
        return false;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    return true;
}
