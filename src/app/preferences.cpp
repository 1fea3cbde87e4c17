#include "app/preferences.h"

#include "common/windows_directory.h"

namespace {

constexpr const char* kAudioKeyPath = "Software\\Microsoft\\Multimedia\\Audio";
constexpr const char* kDefaultProfileAudioKeyPath =
    ".Default\\Software\\Microsoft\\Multimedia\\Audio";
constexpr std::size_t kSystemFormatsBufferSize = 1024;

void WriteDefaultFormat(platform::Registry& registry, platform::RootKey root,
                        const char* keyPath, const std::string& format)
{
    auto key = registry.OpenKey(root, keyPath, platform::RegAccess::AllAccess);
    if (!key)
        return;
    registry.SetString(*key, "DefaultFormat", format);
    registry.CloseKey(*key);
}

}  // namespace

std::string ChooseCdFormat(const std::string& systemFormats)
{
    std::size_t entryStart = 0;
    for (std::size_t comma = systemFormats.find(','); comma != std::string::npos;
         comma = systemFormats.find(',', entryStart)) {
        std::string entry = systemFormats.substr(entryStart, comma - entryStart);
        if (entry.find("CD") != std::string::npos)
            return entry;
        entryStart = comma + 1;
    }
    return std::string();
}

void SetDefaultSoundFormat(platform::Platform& os)
{
    platform::Registry& registry = os.registry;
    auto key = registry.OpenKey(platform::RootKey::CurrentUser, kAudioKeyPath,
                                platform::RegAccess::AllAccess);
    if (!key)
        return;
    auto formats = registry.QueryString(*key, "SystemFormats", kSystemFormatsBufferSize);
    if (!formats) {
        registry.CloseKey(*key);
        return;
    }
    // The whole name is used, however long: it is never cut to fit a buffer.
    std::string chosen = ChooseCdFormat(formats->text);
    registry.CloseKey(*key);

    if (chosen.empty())
        return;
    WriteDefaultFormat(registry, platform::RootKey::CurrentUser, kAudioKeyPath, chosen);
    WriteDefaultFormat(registry, platform::RootKey::Users, kDefaultProfileAudioKeyPath, chosen);
}

void ApplyCdPlayerSetting(platform::Platform& os, const std::string& setupIniPath)
{
    std::string cdPlayerIni = WindowsDirectoryPath(os.files) + "QNCDPLAY.INI";
    int usingCdda = os.profiles.GetInt("Default", "UsingCDDA", 0, setupIniPath);
    os.profiles.WriteString("CD PLAYER", "UsingCDDA", usingCdda != 0 ? "1" : "0", cdPlayerIni);
}
