// What the runs of a plan changed on the simulated machine: each file of
// drive C: and each registry value, with its state before and after. The
// changes take the form `w2kmedia try` gives those of a real run, so that a
// plan and a run under Wine can be laid side by side.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_machine.h"

struct MachineChange {
    enum class Kind { File, Value };
    struct State {
        std::string bytes;       // a file's bytes, or a value's stored data
        std::uint32_t type = 0;  // a value's registry type
    };

    Kind kind = Kind::File;
    std::string change;  // "added", "changed" or "removed"
    std::string path;    // a file's full path, or a value's key ("HKLM\\...")
    std::string name;    // a value's name
    std::optional<State> before;
    std::optional<State> after;
};

// Drive C: and the registry at one moment. The media (D:) is left out: its
// bytes are read only when a run needs them.
class MachineSnapshot {
public:
    explicit MachineSnapshot(const sim::SimMachine& machine);

private:
    friend std::vector<MachineChange> ChangesBetween(const MachineSnapshot&,
                                                     const MachineSnapshot&);
    struct Entry {
        MachineChange::Kind kind;
        std::string path;
        std::string name;
        MachineChange::State state;
    };
    // By kind, then path and name without case: files come first.
    std::map<std::string, Entry> m_entries;
};

// Files first, then values, each in path order.
std::vector<MachineChange> ChangesBetween(const MachineSnapshot& before,
                                          const MachineSnapshot& after);

// A value's type as regedit names it ("REG_SZ"), "type N" for the others.
std::string RegistryTypeName(std::uint32_t type);
