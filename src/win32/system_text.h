// Texts the system hands back in the caller's memory: a buffer it fills, or
// a fixed array of one of its structures.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win32 {

// Calls a "fill this buffer" function that answers with the length it wrote,
// or with the size it needs (zero included) when the buffer is too small:
// starts with MAX_PATH and asks again with the size it was told, so a text of
// any length comes back whole. Empty when the call fails.
template <typename Fill>
std::string FetchText(Fill fill)
{
    std::vector<char> buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.assign(length + 1, '\0');
    }
}

// The text of a fixed array such as WIN32_FIND_DATAA::cFileName, `size`
// bytes long. The system zero-terminates it; the size bounds it all the same.
std::string ArrayText(const char* array, std::size_t size);

}  // namespace win32
