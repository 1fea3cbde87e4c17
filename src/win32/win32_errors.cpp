#include "win32/win32_errors.h"

#include <windows.h>

namespace win32 {

std::uint32_t Win32Errors::LastError()
{
    return GetLastError();
}

void Win32Errors::SetLastError(std::uint32_t code)
{
    ::SetLastError(code);
}

}  // namespace win32
