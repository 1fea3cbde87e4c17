#include "win32/system_text.h"

#include <cstring>

namespace win32 {

std::string ArrayText(const char* array, std::size_t size)
{
    const void* zero = std::memchr(array, '\0', size);
    return std::string(array, zero ? static_cast<const char*>(zero) - array : size);
}

}  // namespace win32
