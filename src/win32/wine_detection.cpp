#include "win32/wine_detection.h"

#include <windows.h>

namespace win32 {

bool RunningUnderWine()
{
    static const bool underWine = [] {
        // ntdll is mapped into every Win32 process that has one; Windows 95
        // has no exporting ntdll at all, which reads as "not Wine" here.
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return underWine;
}

}  // namespace win32
