#include "sim/sim_registry.h"

#include "common/ascii.h"

namespace sim {

namespace {

const char* RootName(platform::RootKey root)
{
    switch (root) {
    case platform::RootKey::LocalMachine:
        return "HKLM";
    case platform::RootKey::CurrentUser:
        return "HKCU";
    case platform::RootKey::Users:
        return "HKU";
    }
    return "?";
}

}  // namespace

std::string SimRegistry::Shown(platform::RootKey root, const std::string& path)
{
    return std::string(RootName(root)) + "\\" + path;
}

std::string SimRegistry::KeyId(platform::RootKey root, const std::string& path)
{
    return AsciiUpper(Shown(root, path));
}

SimRegistry::Key* SimRegistry::Find(const std::string& id)
{
    auto it = m_keys.find(id);
    return it == m_keys.end() ? nullptr : &it->second;
}

const SimRegistry::OpenedKey* SimRegistry::Opened(platform::RegKey key) const
{
    auto it = m_handles.find(static_cast<std::uintptr_t>(key));
    if (it == m_handles.end())
        throw SimScriptError("registry key used after it was closed, or never opened");
    return &it->second;
}

void SimRegistry::CreateKey(platform::RootKey root, const std::string& path)
{
    // Parents exist too, as in the real registry.
    for (std::size_t slash = path.find('\\'); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        CreateKey(root, path.substr(0, slash));
    Key& key = m_keys[KeyId(root, path)];
    if (key.shown.empty())
        key.shown = Shown(root, path);
}

void SimRegistry::PutString(platform::RootKey root, const std::string& path,
                            const std::string& name, const std::string& text)
{
    PutValue(root, path, name, SimRegValue{kRegSz, text + '\0'});
}

void SimRegistry::PutValue(platform::RootKey root, const std::string& path,
                           const std::string& name, const SimRegValue& value)
{
    CreateKey(root, path);
    m_keys[KeyId(root, path)].values[AsciiUpper(name)] = {name, value};
}

std::optional<SimRegValue> SimRegistry::Value(platform::RootKey root, const std::string& path,
                                              const std::string& name) const
{
    auto key = m_keys.find(KeyId(root, path));
    if (key == m_keys.end())
        return std::nullopt;
    auto value = key->second.values.find(AsciiUpper(name));
    if (value == key->second.values.end())
        return std::nullopt;
    return value->second.second;
}

std::optional<std::string> SimRegistry::Text(platform::RootKey root, const std::string& path,
                                             const std::string& name) const
{
    auto value = Value(root, path, name);
    if (!value)
        return std::nullopt;
    return value->data.substr(0, value->data.find('\0'));
}

std::vector<std::string> SimRegistry::OpenKeys() const
{
    std::vector<std::string> open;
    for (const auto& [handle, opened] : m_handles)
        open.push_back(opened.shown);
    return open;
}

std::vector<SimRegKeyListing> SimRegistry::Listing() const
{
    std::vector<SimRegKeyListing> listing;
    for (const auto& [id, key] : m_keys) {
        SimRegKeyListing entry{key.shown, {}};
        for (const auto& [upperName, value] : key.values)
            entry.values.push_back(value);
        listing.push_back(entry);
    }
    return listing;
}

bool SimRegistry::HasKey(platform::RootKey root, const std::string& path) const
{
    return m_keys.count(KeyId(root, path)) != 0;
}

void SimRegistry::MakeReadOnly(platform::RootKey root, const std::string& path)
{
    CreateKey(root, path);
    m_keys[KeyId(root, path)].readOnly = true;
}

std::optional<platform::RegKey> SimRegistry::OpenKey(platform::RootKey root,
                                                     const std::string& subKey,
                                                     platform::RegAccess access)
{
    // The registry functions give their error as their result; the adapter
    // sets it as the last error too, and so does every failure here.
    std::string detail = Shown(root, subKey) + " " + Hex(static_cast<std::uint32_t>(access));
    if (m_context.Fails("RegOpenKeyExA", detail, error::kAccessDenied))
        return std::nullopt;
    Key* key = Find(KeyId(root, subKey));
    bool wantsWrite = access == platform::RegAccess::AllAccess;
    if (!key || (wantsWrite && key->readOnly)) {
        m_context.Record("RegOpenKeyExA", detail + (key ? " (access denied)" : " (no key)"));
        m_context.lastError = key ? error::kAccessDenied : error::kFileNotFound;
        return std::nullopt;
    }
    m_context.Record("RegOpenKeyExA", detail);
    std::uintptr_t handle = m_nextHandle++;
    m_handles[handle] = {KeyId(root, subKey), Shown(root, subKey), wantsWrite};
    return static_cast<platform::RegKey>(handle);
}

std::optional<platform::RegText> SimRegistry::QueryString(platform::RegKey key,
                                                          const std::string& name,
                                                          std::size_t bufferSize)
{
    const OpenedKey* opened = Opened(key);
    std::string detail = opened->shown + " " + name + " size=" + std::to_string(bufferSize);
    if (!m_context.Succeeds("RegQueryValueExA", detail, error::kFileNotFound))
        return std::nullopt;
    Key* stored = Find(opened->id);
    auto value = stored->values.find(AsciiUpper(name));
    if (value == stored->values.end()) {
        m_context.lastError = error::kFileNotFound;
        return std::nullopt;
    }
    const SimRegValue& found = value->second.second;
    if (found.data.size() > bufferSize) {
        m_context.lastError = error::kMoreData;
        return std::nullopt;
    }
    return platform::RegText{found.data.substr(0, found.data.find('\0')), found.type};
}

bool SimRegistry::SetString(platform::RegKey key, const std::string& name, const std::string& text)
{
    const OpenedKey* opened = Opened(key);
    std::string detail = opened->shown + " " + name + "=" + text;
    if (!m_context.Succeeds("RegSetValueExA", detail, error::kAccessDenied))
        return false;
    if (!opened->writable) {
        m_context.lastError = error::kAccessDenied;
        return false;
    }
    Find(opened->id)->values[AsciiUpper(name)] = {name, SimRegValue{kRegSz, text}};
    m_context.Effect("reg-set", {TextField("key", opened->shown), TextField("value", name),
                                 TextField("type", "REG_SZ"), TextField("data", text)});
    return true;
}

bool SimRegistry::DeleteValue(platform::RegKey key, const std::string& name)
{
    const OpenedKey* opened = Opened(key);
    std::string detail = opened->shown + " " + name;
    if (!m_context.Succeeds("RegDeleteValueA", detail, error::kAccessDenied))
        return false;
    if (!opened->writable) {
        m_context.lastError = error::kAccessDenied;
        return false;
    }
    if (Find(opened->id)->values.erase(AsciiUpper(name)) == 0) {
        m_context.lastError = error::kFileNotFound;
        return false;
    }
    m_context.Effect("reg-delete", {TextField("key", opened->shown), TextField("value", name)});
    return true;
}

void SimRegistry::CloseKey(platform::RegKey key)
{
    const OpenedKey* opened = Opened(key);
    std::string shown = opened->shown;
    m_handles.erase(static_cast<std::uintptr_t>(key));
    m_context.Release("RegCloseKey", shown);
}

}  // namespace sim
