#include "media_tool/plan/machine_changes.h"

#include "common/ascii.h"

namespace {

constexpr const char* kDriveC = "C:\\";

std::string FileId(const std::string& path)
{
    return "F" + AsciiUpper(path);
}

std::string ValueId(const std::string& key, const std::string& name)
{
    // A key path holds no '\n', so the name cannot run into it.
    return "V" + AsciiUpper(key) + "\n" + AsciiUpper(name);
}

}  // namespace

MachineSnapshot::MachineSnapshot(const sim::SimMachine& machine)
{
    for (const std::string& path : machine.files.FilesBelow(kDriveC)) {
        MachineChange::State state{machine.files.Read(path).value_or(""), 0};
        m_entries[FileId(path)] = Entry{MachineChange::Kind::File, path, "", state};
    }
    for (const sim::SimRegKeyListing& key : machine.registry.Listing()) {
        for (const auto& [name, value] : key.values) {
            MachineChange::State state{value.data, value.type};
            m_entries[ValueId(key.path, name)] =
                Entry{MachineChange::Kind::Value, key.path, name, state};
        }
    }
}

std::vector<MachineChange> ChangesBetween(const MachineSnapshot& before,
                                          const MachineSnapshot& after)
{
    std::map<std::string, MachineChange> changes;
    for (const auto& [id, entry] : before.m_entries) {
        auto now = after.m_entries.find(id);
        if (now != after.m_entries.end() && now->second.state.bytes == entry.state.bytes &&
            now->second.state.type == entry.state.type)
            continue;
        MachineChange change{entry.kind, "removed", entry.path, entry.name, entry.state, {}};
        if (now != after.m_entries.end()) {
            change.change = "changed";
            change.after = now->second.state;
        }
        changes[id] = change;
    }
    for (const auto& [id, entry] : after.m_entries) {
        if (before.m_entries.count(id) == 0)
            changes[id] = MachineChange{entry.kind, "added", entry.path, entry.name, {}, entry.state};
    }
    std::vector<MachineChange> ordered;
    for (auto& [id, change] : changes)
        ordered.push_back(std::move(change));
    return ordered;
}

std::string RegistryTypeName(std::uint32_t type)
{
    switch (type) {
    case 0:
        return "REG_NONE";
    case 1:
        return "REG_SZ";
    case 2:
        return "REG_EXPAND_SZ";
    case 3:
        return "REG_BINARY";
    case 4:
        return "REG_DWORD";
    case 7:
        return "REG_MULTI_SZ";
    }
    return "type " + std::to_string(type);
}
