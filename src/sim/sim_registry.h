// The registry of the simulated machine: keys under the three roots the
// installer uses, values with their type and their exact bytes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "sim/sim_context.h"

namespace sim {

using platform::kRegExpandSz;
using platform::kRegSz;
constexpr std::uint32_t kRegDword = 4;  // REG_DWORD

struct SimRegValue {
    std::uint32_t type = kRegSz;
    std::string data;  // the stored bytes, exactly as many as were written
};

// One key as the listing shows it: its path under its root ("HKLM\\..."),
// spelled as it was created, and its values by name, in name order.
struct SimRegKeyListing {
    std::string path;
    std::vector<std::pair<std::string, SimRegValue>> values;
};

class SimRegistry : public platform::Registry {
public:
    explicit SimRegistry(SimContext& context) : m_context(context) {}

    // The machine's side, for tests.
    void CreateKey(platform::RootKey root, const std::string& path);
    // A REG_SZ with its terminating zero, as most programs store strings.
    void PutString(platform::RootKey root, const std::string& path, const std::string& name,
                   const std::string& text);
    void PutValue(platform::RootKey root, const std::string& path, const std::string& name,
                  const SimRegValue& value);
    std::optional<SimRegValue> Value(platform::RootKey root, const std::string& path,
                                     const std::string& name) const;
    // The stored text up to its first zero byte.
    std::optional<std::string> Text(platform::RootKey root, const std::string& path,
                                    const std::string& name) const;
    bool HasKey(platform::RootKey root, const std::string& path) const;
    // The key opens for reading only (a user without write access).
    void MakeReadOnly(platform::RootKey root, const std::string& path);
    std::size_t OpenHandleCount() const { return m_handles.size(); }
    // The keys opened and not closed yet, by path.
    std::vector<std::string> OpenKeys() const;
    // Every key with its values, in path order.
    std::vector<SimRegKeyListing> Listing() const;

    // platform::Registry
    std::optional<platform::RegKey> OpenKey(platform::RootKey root, const std::string& subKey,
                                            platform::RegAccess access) override;
    std::optional<platform::RegText> QueryString(platform::RegKey key, const std::string& name,
                                                 std::size_t bufferSize) override;
    bool SetString(platform::RegKey key, const std::string& name,
                   const std::string& text) override;
    bool DeleteValue(platform::RegKey key, const std::string& name) override;
    void CloseKey(platform::RegKey key) override;

private:
    struct Key {
        std::string shown;  // the path as it was first created
        std::map<std::string, std::pair<std::string, SimRegValue>> values;  // by upper name
        bool readOnly = false;
    };
    // Keys are never removed, so the key of an open handle is always found.
    struct OpenedKey {
        std::string id;  // root and path, upper-cased
        std::string shown;
        bool writable;
    };

    static std::string KeyId(platform::RootKey root, const std::string& path);
    static std::string Shown(platform::RootKey root, const std::string& path);
    Key* Find(const std::string& id);
    const OpenedKey* Opened(platform::RegKey key) const;

    SimContext& m_context;
    std::map<std::string, Key> m_keys;
    std::map<std::uintptr_t, OpenedKey> m_handles;
    std::uintptr_t m_nextHandle = 0x100;
};

}  // namespace sim
