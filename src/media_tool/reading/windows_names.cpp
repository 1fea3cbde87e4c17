#include "media_tool/reading/windows_names.h"

#include <cstring>

#include "common/ascii.h"
#include "common/device_names.h"
#include "sim/sim_context.h"

namespace {

// The code point of the UTF-8 sequence at `at`, which moves past it; -1 for
// a byte that starts no valid sequence (overlong forms and surrogates too).
long NextCodePoint(const std::string& text, std::size_t& at)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2
                                     : lead >= 0xE0 && lead < 0xF0   ? 3
                                     : lead >= 0xF0 && lead < 0xF5   ? 4
                                                                     : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return -1;
    }
    long point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return -1;
        }
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    static const long kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || (point >= 0xD800 && point < 0xE000) || point > 0x10FFFF) {
        ++at;
        return -1;
    }
    at += length;
    return point;
}

}  // namespace

std::string WhyNotAWindowsName(const std::string& name)
{
    if (name.empty())
        return "it is empty";
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32)
            return "it holds a control character";
        if (std::strchr("\\/:*?\"<>|", c))
            return std::string("it holds '") + c + "'";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "it ends in a dot or a blank";
    if (IsDeviceName(name))
        return "Windows keeps the name " + AsciiUpper(name.substr(0, name.find('.'))) +
               " for a device";
    return std::string();
}

FolderNames::FolderNames(const std::string& prefix, std::vector<ScanProblem>& problems)
    : m_prefix(prefix), m_problems(problems)
{
}

bool FolderNames::Keep(const std::string& name)
{
    const std::string why = WhyNotAWindowsName(name);
    if (!why.empty()) {
        m_problems.push_back({ScanProblemKind::NameNotValid, m_prefix + name, why});
        return false;
    }
    auto clash = m_taken.find(AsciiUpper(name));
    if (clash != m_taken.end()) {
        m_problems.push_back({ScanProblemKind::NameClash, m_prefix + name, m_prefix + clash->second});
        return false;
    }
    m_taken[AsciiUpper(name)] = name;
    return true;
}

std::vector<std::string> NamesOf(const std::string& path, char separator)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end; (end = path.find(separator, start)) != std::string::npos;
         start = end + 1)
        names.push_back(path.substr(start, end - start));
    names.push_back(path.substr(start));
    if (names.size() > 1 && names.back().empty())
        names.pop_back();
    return names;
}

std::string WhyJolietCannotHold(const std::string& name)
{
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t start = at;
        const long point = NextCodePoint(name, at);
        if (point < 0)
            return "it is not UTF-8 text";
        if (point > 0xFFFF)
            return "it holds " + name.substr(start, at - start) +
                   ", a character beyond the 65,536 of Joliet's UCS-2";
        if (point == ';')
            return "it holds ';'";
    }
    const std::size_t length = Utf16Length(name);
    if (length > kLongestJolietName)
        return "it is " + std::to_string(length) + " characters long, and Joliet holds at most " +
               std::to_string(kLongestJolietName);
    return std::string();
}

std::size_t Utf16Length(const std::string& text)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();)
        units += NextCodePoint(text, at) > 0xFFFF ? 2 : 1;
    return units;
}

std::string Iso9660FormOf(const std::string& name)
{
    std::string form = AsciiUpper(name);
    for (char& c : form) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
        if (!kept)
            c = '_';
    }
    return form;
}
