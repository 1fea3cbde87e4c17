// What the fuzz targets share: a property check that makes a failing input
// a finding, and the split of an input into its text fields.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A property that must hold for every input. When it does not, the target
// stops with the reason, and libFuzzer keeps the input as a crash file.
#define FUZZ_CHECK(condition)                                                  \
    do {                                                                       \
        if (!(condition))                                                      \
            fuzz::PropertyFailed(#condition, __FILE__, __LINE__);              \
    } while (0)

namespace fuzz {

[[noreturn]] inline void PropertyFailed(const char* property, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
    std::abort();
}

inline std::string Bytes(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Takes the text up to the next line end (LF) out of `input`; the rest of
// the input stays. Without a line end the whole input is the field.
inline std::string TakeLine(std::string& input)
{
    const std::size_t end = input.find('\n');
    std::string field = input.substr(0, end);
    input = end == std::string::npos ? std::string() : input.substr(end + 1);
    return field;
}

}  // namespace fuzz
