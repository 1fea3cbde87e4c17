#include "logging/log_format.h"

#include <cstdint>

namespace logging {

namespace {

void AppendNumber(std::string& out, std::uint32_t value, unsigned base)
{
    char digits[12];
    char* end = digits + sizeof digits;
    char* at = end;
    do {
        *--at = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value != 0);
    out.append(at, end);
}

}  // namespace

void AppendFormatV(std::string& out, const char* pattern, va_list arguments)
{
    for (const char* at = pattern; *at != '\0'; ++at) {
        if (*at != '%' || at[1] == '\0') {
            out += *at;
            continue;
        }
        switch (*++at) {
        case 's':
            out += va_arg(arguments, const char*);
            break;
        case 'c':
            out += static_cast<char>(va_arg(arguments, int));
            break;
        case 'd': {
            const int value = va_arg(arguments, int);
            if (value < 0)
                out += '-';
            AppendNumber(out, value < 0 ? 0u - static_cast<std::uint32_t>(value)
                                        : static_cast<std::uint32_t>(value),
                         10);
            break;
        }
        case 'u':
            AppendNumber(out, va_arg(arguments, unsigned), 10);
            break;
        case 'X':
            AppendNumber(out, va_arg(arguments, unsigned), 16);
            break;
        default:
            out += *at;  // "%%" and anything else: the character itself
            break;
        }
    }
}

std::string Format(const char* pattern, ...)
{
    std::string out;
    va_list arguments;
    va_start(arguments, pattern);
    AppendFormatV(out, pattern, arguments);
    va_end(arguments);
    return out;
}

}  // namespace logging
