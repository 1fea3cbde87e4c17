// W2KSetup.exe is built without exceptions and without run-time type
// information: the installer never throws, and failures are results. What
// the C++ library would throw in its few checked places (a string past its
// maximum length, memory that runs out) ends the program instead, as an
// exception nobody catches would. Defined here, in the executable itself,
// these come before the library's own throwing versions, which would bring
// in the unwinder and the exception runtime: about 140 KB of a 220 KB
// program.
#include <cstdlib>
#include <new>
#include <string>

namespace std {

void __throw_bad_alloc()
{
    std::abort();
}

void __throw_bad_array_new_length()
{
    std::abort();
}

void __throw_bad_function_call()
{
    std::abort();
}

void __throw_length_error(const char*)
{
    std::abort();
}

void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_out_of_range(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}

// libstdc++ ships the string's code compiled with exceptions; instantiated
// here, it is compiled as the rest of the program is.
template class basic_string<char>;

}  // namespace std

void* operator new(std::size_t size)
{
    void* memory = std::malloc(size != 0 ? size : 1);
    if (!memory)
        std::abort();
    return memory;
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
