#include "win32/win32_clock.h"

#include <windows.h>

namespace win32 {

void Win32Clock::Sleep(std::uint32_t milliseconds)
{
    ::Sleep(milliseconds);
}

void Win32Clock::SleepEx(std::uint32_t milliseconds)
{
    ::SleepEx(milliseconds, FALSE);
}

}  // namespace win32
