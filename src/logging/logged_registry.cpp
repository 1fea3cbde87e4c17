#include "logging/logged_registry.h"

namespace logging {

namespace {

// A registry call answers ERROR_SUCCESS or its error.
const char* StatusText(bool succeeded)
{
    return succeeded ? "ERROR_SUCCESS" : "failed";
}

const char* RootText(platform::RootKey root)
{
    switch (root) {
    case platform::RootKey::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case platform::RootKey::CurrentUser:
        return "HKEY_CURRENT_USER";
    case platform::RootKey::Users:
        break;
    }
    return "HKEY_USERS";
}

}  // namespace

// Keys show as "key": the installer closes each right after the calls on it.
std::optional<platform::RegKey> LoggedRegistry::OpenKey(platform::RootKey root,
                                                        const std::string& subKey,
                                                        platform::RegAccess access)
{
    auto key = m_inner.OpenKey(root, subKey, access);
    if (!Recording())
        return key;
    m_log.Call(ErrorIf(!key), "RegOpenKeyExA(%s, \"%s\", %s) = %s", RootText(root),
               subKey.c_str(),
               access == platform::RegAccess::AllAccess ? "KEY_ALL_ACCESS" : "KEY_QUERY_VALUE",
               StatusText(key.has_value()));
    if (!key && m_log.CurrentStep() == Step::MixerReplacement)
        m_log.Outcome().Saw(Event::RunKeyNotOpened);
    return key;
}

std::optional<platform::RegText> LoggedRegistry::QueryString(platform::RegKey key,
                                                             const std::string& name,
                                                             std::size_t bufferSize)
{
    auto value = m_inner.QueryString(key, name, bufferSize);
    if (!Recording())
        return value;
    if (value)
        m_log.Call(0, "RegQueryValueExA(key, \"%s\", %u bytes) = %s \"%s\"", name.c_str(),
                   static_cast<unsigned>(bufferSize),
                   value->type == platform::kRegExpandSz ? "REG_EXPAND_SZ" : "REG_SZ",
                   value->text.c_str());
    else
        m_log.Call(ErrorIf(true), "RegQueryValueExA(key, \"%s\", %u bytes) = failed",
                   name.c_str(), static_cast<unsigned>(bufferSize));
    return value;
}

bool LoggedRegistry::SetString(platform::RegKey key, const std::string& name,
                               const std::string& text)
{
    const bool set = m_inner.SetString(key, name, text);
    if (Recording())
        m_log.Call(ErrorIf(!set), "RegSetValueExA(key, \"%s\", REG_SZ, \"%s\") = %s",
                   name.c_str(), text.c_str(), StatusText(set));
    return set;
}

bool LoggedRegistry::DeleteValue(platform::RegKey key, const std::string& name)
{
    const bool deleted = m_inner.DeleteValue(key, name);
    if (Recording())
        m_log.Call(ErrorIf(!deleted), "RegDeleteValueA(key, \"%s\") = %s", name.c_str(),
                   StatusText(deleted));
    return deleted;
}

void LoggedRegistry::CloseKey(platform::RegKey key)
{
    m_inner.CloseKey(key);
    if (Recording())
        m_log.Call(0, "RegCloseKey(key)");
}

}  // namespace logging
