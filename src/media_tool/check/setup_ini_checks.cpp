#include "media_tool/check/setup_ini_checks.h"

#include <set>
#include <vector>

#include "common/ascii.h"
#include "sim/profile_int.h"
#include "sim/sim_context.h"
#include "sim/sim_profiles.h"

namespace {

struct KnownKey {
    const char* section;
    const char* key;
    bool number;  // read with GetPrivateProfileIntA
};

// Every key the installer reads from setup.ini, in its section. "LogFile"
// names the install log's file.
constexpr KnownKey kKnownKeys[] = {
    {"InstallOption", "DriverOnly", true},
    {"InstallOption", "WebSetup", true},
    {"InstallOption", "InstallWDMDriver", true},
    {"InstallOption", "LogFile", false},
    {"Default", "UsingCDDA", true},
};

const KnownKey* FindKey(const std::string& section, const std::string& key)
{
    for (const KnownKey& known : kKnownKeys) {
        if (sim::EqualNoCase(section, known.section) && sim::EqualNoCase(key, known.key))
            return &known;
    }
    return nullptr;
}

const KnownKey* FindKeyInAnySection(const std::string& key)
{
    for (const KnownKey& known : kKnownKeys) {
        if (sim::EqualNoCase(key, known.key))
            return &known;
    }
    return nullptr;
}

bool IsKnownSection(const std::string& section)
{
    for (const KnownKey& known : kKnownKeys) {
        if (sim::EqualNoCase(section, known.section))
            return true;
    }
    return false;
}

std::string KeysOf(const std::string& section)
{
    std::vector<std::string> keys;
    for (const KnownKey& known : kKnownKeys) {
        if (sim::EqualNoCase(section, known.section))
            keys.push_back(known.key);
    }
    std::string text;
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i == 0 ? "" : i + 1 == keys.size() ? " and " : ", ") + keys[i];
    return text;
}

// Digits with at most a sign before them: what the installer reads as written.
bool IsPlainInteger(const std::string& value)
{
    const std::size_t digits = !value.empty() && (value[0] == '+' || value[0] == '-') ? 1 : 0;
    return value.size() > digits &&
           value.find_first_not_of("0123456789", digits) == std::string::npos;
}

class SetupIniChecker {
public:
    SetupIniChecker(const std::string& path, FindingList& findings)
        : m_path(path), m_findings(findings)
    {
    }

    void Check(const std::vector<sim::ProfileLine>& lines)
    {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            m_line = "line " + std::to_string(i + 1);
            const sim::ProfileLine& line = lines[i];
            switch (line.kind) {
            case sim::ProfileLine::Kind::Section:
                EnterSection(line.name);
                break;
            case sim::ProfileLine::Kind::Entry:
                CheckEntry(line);
                break;
            case sim::ProfileLine::Kind::Other:
                if (m_inKnownSection)
                    Unknown("setup.ini " + m_line + " (\"" + line.name +
                            "\") has no \"=\", so the installer reads nothing from it; write "
                            "it as key=value.");
                break;
            default:
                break;
            }
        }
    }

private:
    void EnterSection(const std::string& name)
    {
        m_section = name;
        m_sectionStarted = true;
        m_inKnownSection = IsKnownSection(name);
        if (!m_inKnownSection)
            Unknown("setup.ini " + m_line + " starts the section [" + name +
                    "], which the installer does not read, so nothing in it has any effect; "
                    "the installer reads [InstallOption] and [Default].");
    }

    void CheckEntry(const sim::ProfileLine& line)
    {
        const std::string shown = "setup.ini " + m_line + " " + line.name + "=" + line.value;
        if (!m_sectionStarted) {
            Unknown(shown + " stands before any section, so the installer never reads it; "
                            "put it into its section.");
            return;
        }
        const KnownKey* known = FindKey(m_section, line.name);
        if (!known) {
            const KnownKey* elsewhere = FindKeyInAnySection(line.name);
            if (elsewhere)
                Unknown(shown + " is in [" + m_section + "], but the installer reads " +
                        elsewhere->key + " in [" + elsewhere->section + "]; move it there.");
            else if (m_inKnownSection)
                Unknown(shown + " is not a key the installer reads, so it has no effect; the "
                                "keys of [" + m_section + "] are " + KeysOf(m_section) + ".");
            return;
        }
        const std::string id = AsciiUpper(std::string(known->section) + "\n" + known->key);
        if (!m_seen.insert(id).second) {
            Unknown(shown + " repeats " + known->key + ", and the installer reads only the "
                                                       "first; remove one of them.");
            return;
        }
        if (known->number && !IsPlainInteger(line.value)) {
            m_findings.Add({Severity::Warning, "setup-ini-value", m_path,
                            shown + " is not a plain number: the installer reads it as " +
                                std::to_string(sim::ProfileIntFromValue(line.value, 0)) +
                                "; write the number itself, such as 0 or 1.",
                            {}});
        }
    }

    void Unknown(const std::string& message)
    {
        m_findings.Add({Severity::Warning, "setup-ini-unknown", m_path, message, {}});
    }

    const std::string& m_path;
    FindingList& m_findings;
    std::string m_section;
    std::string m_line;
    bool m_sectionStarted = false;
    bool m_inKnownSection = false;
    std::set<std::string> m_seen;
};

}  // namespace

void CheckSetupIniText(const std::string& text, const std::string& path, FindingList& findings)
{
    SetupIniChecker(path, findings).Check(sim::ReadProfileLines(text));
}
