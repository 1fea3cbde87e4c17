// The install log's one formatting helper: printf's way of writing a line,
// for the conversions the log needs (%s, %d, %u, %X and %c, without flags
// or widths), without the C runtime's printf family. The compiler checks
// the arguments against the pattern as it does for printf.
#pragma once

#include <cstdarg>
#include <string>

namespace logging {

void AppendFormatV(std::string& out, const char* pattern, va_list arguments);
std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

inline const char* BoolText(bool value)
{
    return value ? "TRUE" : "FALSE";
}

}  // namespace logging
