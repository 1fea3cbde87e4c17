// Profile files of the simulated machine, kept as text files in its file
// system and read and written by the Windows rules.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/profiles.h"
#include "sim/sim_context.h"
#include "sim/sim_files.h"

namespace sim {

// One line of a profile file as Windows reads it.
struct ProfileLine {
    enum class Kind { Blank, Comment, Section, Entry, Other };
    Kind kind = Kind::Blank;
    std::string name;   // a section's name or an entry's key, trimmed
    std::string value;  // an entry's value, trimmed and without surrounding quotes
};

// The lines of a text file: LF ends a line, a CR before it is dropped.
std::vector<std::string> SplitLines(const std::string& text);

// The lines of a profile file, read as above.
std::vector<ProfileLine> ReadProfileLines(const std::string& text);

class SimProfiles : public platform::Profiles {
public:
    SimProfiles(SimContext& context, SimFileSystem& files) : m_context(context), m_files(files) {}

    // The machine's side: the value a program would read, without recording a call.
    std::optional<std::string> Entry(const std::string& file, const std::string& section,
                                     const std::string& key) const;
    // Writes an entry as a program would, without recording a call.
    bool Put(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value);

    // platform::Profiles
    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t bufferSize,
                          const std::string& file) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value, const std::string& file) override;

private:
    // A bare file name means the Windows directory.
    std::string Locate(const std::string& file) const;

    SimContext& m_context;
    SimFileSystem& m_files;
};

}  // namespace sim
