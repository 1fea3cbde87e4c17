// The piece of the MinGW runtime that would otherwise make W2KSetup.exe import
// a function that Windows 95 or NT 4.0 may not export (the loader refuses a
// program with a missing import before any of its code runs). The replacement
// does what the original does, with what both systems have. This file is
// linked into the executable itself, so that its definition comes before the
// library's.
#include <windows.h>

// MinGW's start-up finds the command line with msvcrt's __p__acmdln, which is
// not known to be in the msvcrt.dll of Windows 95 and NT 4.0; Microsoft's own
// start-up code for that DLL reads the exported variable _acmdln instead, and
// so does this stand-in, which the start-up calls in its place.
extern "C" char** __MINGW_IMP_SYMBOL(_acmdln);
extern "C" char** __cdecl CommandLineVariable() __asm__("___p__acmdln");
extern "C" char** __cdecl CommandLineVariable()
{
    return __MINGW_IMP_SYMBOL(_acmdln);
}
