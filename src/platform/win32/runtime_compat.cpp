// The few pieces of the MinGW runtime and libstdc++ that would otherwise make
// W2KSetup.exe import functions that Windows 95 or NT 4.0 do not export, or
// that Windows 95 exports only as wide-character stubs that fail (the loader
// refuses a program with a missing import before any of its code runs). Each
// replacement does what the original does, with calls both systems have. This
// file is linked into the executable itself, so that its definitions come
// before the libraries'.
#include <windows.h>

#include <cerrno>
#include <cstdlib>

// libstdc++'s default terminate handler demangles the exception's type name
// for a message on stderr; the demangler brings in MinGW's own printf and its
// locale code, about 75 KB. A GUI program has no stderr to print to, so the
// handler goes straight to what the original does after printing: abort.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

namespace {

// libgcc's thread support creates its unnamed semaphores with
// CreateSemaphoreW, which on Windows 95 is one of the wide-character stubs
// that fail. Without a name the ANSI form does the same; a name is converted
// to the ANSI code page first.
HANDLE WINAPI CreateSemaphoreThroughAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                         LONG maximumCount, LPCWSTR name)
{
    if (!name)
        return CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
    char ansiName[MAX_PATH];
    if (!WideCharToMultiByte(CP_ACP, 0, name, -1, ansiName, sizeof(ansiName), nullptr,
                             nullptr)) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    return CreateSemaphoreA(attributes, initialCount, maximumCount, ansiName);
}

// libstdc++'s random_device comes along with its string code and asks for
// rand_s; MinGW's own stand-in finds it with GetModuleHandleW and
// LoadLibraryW, wide-character stubs on Windows 95. This one looks the same way with the ANSI calls: msvcrt's
// rand_s where the C runtime has it, else the system's RtlGenRandom
// (advapi32's SystemFunction036), else EINVAL. The installer itself never
// asks for a random number.
errno_t __cdecl RandomThroughAnsi(unsigned int* value)
{
    using RandS = errno_t(__cdecl*)(unsigned int*);
    using GenRandom = BOOLEAN(WINAPI*)(PVOID, ULONG);
    if (!value)
        return EINVAL;
    if (HMODULE msvcrt = GetModuleHandleA("msvcrt.dll")) {
        if (auto randS = reinterpret_cast<RandS>(
                reinterpret_cast<void*>(GetProcAddress(msvcrt, "rand_s"))))
            return randS(value);
    }
    if (HMODULE advapi32 = LoadLibraryA("advapi32.dll")) {
        if (auto genRandom = reinterpret_cast<GenRandom>(
                reinterpret_cast<void*>(GetProcAddress(advapi32, "SystemFunction036")))) {
            if (genRandom(value, sizeof(*value)))
                return 0;
        }
    }
    *value = 0;
    return EINVAL;
}

}  // namespace

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

// The import slots the libraries call through. Defined here, they keep the
// linker from taking the import library's entries, and with them the imports.
extern "C" {
extern HANDLE(WINAPI* const importedCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG,
                                                      LPCWSTR)
    __asm__("__imp__CreateSemaphoreW@16");
HANDLE(WINAPI* const importedCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) =
    CreateSemaphoreThroughAnsi;

extern errno_t(__cdecl* const importedRandS)(unsigned int*) __asm__("__imp__rand_s");
errno_t(__cdecl* const importedRandS)(unsigned int*) = RandomThroughAnsi;
}
