#include "sim/sim_profiles.h"

#include <cctype>
#include <vector>

#include "sim/profile_int.h"

namespace sim {

namespace {

std::string Trim(const std::string& text)
{
    std::size_t first = 0;
    while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    std::size_t last = text.size();
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

// "[name]" gives name; anything else gives nothing.
std::optional<std::string> SectionName(const std::string& line)
{
    std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return std::nullopt;
    std::size_t close = trimmed.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

bool KeyOf(const std::string& line, std::string& key, std::string& value)
{
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';')
        return false;
    std::size_t equals = trimmed.find('=');
    if (equals == std::string::npos)
        return false;
    key = Trim(trimmed.substr(0, equals));
    value = Trim(trimmed.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return true;
}

std::optional<std::string> FindEntry(const std::string& text, const std::string& section,
                                     const std::string& key)
{
    bool inSection = false;
    for (const ProfileLine& line : ReadProfileLines(text)) {
        if (line.kind == ProfileLine::Kind::Section)
            inSection = EqualNoCase(line.name, section);
        else if (inSection && line.kind == ProfileLine::Kind::Entry && EqualNoCase(line.name, key))
            return line.value;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<ProfileLine> ReadProfileLines(const std::string& text)
{
    std::vector<ProfileLine> lines;
    for (const std::string& line : SplitLines(text)) {
        ProfileLine read;
        const std::string trimmed = Trim(line);
        if (auto name = SectionName(line)) {
            read.kind = ProfileLine::Kind::Section;
            read.name = *name;
        } else if (KeyOf(line, read.name, read.value)) {
            read.kind = ProfileLine::Kind::Entry;
        } else if (trimmed.empty()) {
            read.kind = ProfileLine::Kind::Blank;
        } else {
            read.kind = trimmed[0] == ';' ? ProfileLine::Kind::Comment : ProfileLine::Kind::Other;
        }
        lines.push_back(read);
    }
    return lines;
}

std::string SimProfiles::Locate(const std::string& file) const
{
    if (file.find('\\') == std::string::npos && file.find(':') == std::string::npos)
        return m_files.windowsDirectory + "\\" + file;
    return file;
}

std::optional<std::string> SimProfiles::Entry(const std::string& file, const std::string& section,
                                              const std::string& key) const
{
    std::string text;
    if (!m_files.Load(Locate(file), text))
        return std::nullopt;
    return FindEntry(text, section, key);
}

int SimProfiles::GetInt(const std::string& section, const std::string& key, int defaultValue,
                        const std::string& file)
{
    const std::string detail = "[" + section + "] " + key + " " + file;
    // A read that fails gives the default, as for a file that cannot be read.
    if (!m_context.Succeeds("GetPrivateProfileIntA", detail, error::kFileNotFound))
        return defaultValue;
    auto value = Entry(file, section, key);
    return value ? ProfileIntFromValue(*value, defaultValue) : defaultValue;
}

std::string SimProfiles::GetString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize,
                                   const std::string& file)
{
    const std::string detail = "[" + section + "] " + key + " " + file;
    // A read that fails gives the default, as for a file that cannot be read.
    const bool failed = m_context.Fails("GetPrivateProfileStringA", detail, error::kFileNotFound);
    if (!failed)
        m_context.Record("GetPrivateProfileStringA", detail);
    std::string value = failed ? defaultValue : Entry(file, section, key).value_or(defaultValue);
    if (bufferSize == 0)
        return std::string();
    return value.substr(0, bufferSize - 1);
}

bool SimProfiles::WriteString(const std::string& section, const std::string& key,
                              const std::string& value, const std::string& file)
{
    std::string detail = "[" + section + "] " + key + "=" + value + " " + file;
    if (!m_context.Succeeds("WritePrivateProfileStringA", detail, error::kAccessDenied))
        return false;
    if (!Put(file, section, key, value))
        return false;
    m_context.Effect("ini-write", {TextField("file", file), TextField("section", section),
                                   TextField("key", key), TextField("value", value)});
    return true;
}

bool SimProfiles::Put(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value)
{
    std::string path = Locate(file);
    std::string text;
    m_files.Load(path, text);
    std::vector<std::string> lines = SplitLines(text);

    // Replace the key in its section, or add it at the section's end, or add
    // the section at the end of the file.
    const std::string entry = key + "=" + value;
    bool inSection = false;
    std::size_t sectionEnd = lines.size();
    bool sectionFound = false;
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        if (auto name = SectionName(lines[i])) {
            if (inSection) {
                sectionEnd = i;
                break;
            }
            inSection = EqualNoCase(*name, section);
            sectionFound = sectionFound || inSection;
            continue;
        }
        std::string lineKey, lineValue;
        if (inSection && KeyOf(lines[i], lineKey, lineValue) && EqualNoCase(lineKey, key)) {
            lines[i] = lineKey + "=" + value;
            written = true;
        }
    }
    if (!written && sectionFound) {
        while (sectionEnd > 0 && Trim(lines[sectionEnd - 1]).empty())
            --sectionEnd;
        lines.insert(lines.begin() + static_cast<long>(sectionEnd), entry);
    } else if (!written) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }

    std::string updated;
    for (const std::string& line : lines)
        updated += line + "\r\n";
    return m_files.Store(path, updated);
}

}  // namespace sim
