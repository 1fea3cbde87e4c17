#include "package/previous_package.h"

#include <string>

namespace {

// The package registers itself under one of two names, depending on the
// Windows it was built for; the first one present is used.
constexpr const char* kUninstallKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio Applications",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio WinNT Applications",
};
constexpr const char* kUninstallValues[] = {"InstallShieldUninstallString", "UninstallString"};
constexpr const char* kUnattendedSwitch = " -a";

// CreateProcessA takes command lines of up to 32767 characters with their
// terminating zero. The registered command is read whole up to that limit
// less the switch, so that it always reaches the uninstaller in full.
constexpr std::size_t kCommandLineLimit = 32767;
constexpr std::size_t kCommandBuffer = kCommandLineLimit - 3;

// The longest the installer waits in one call before it looks again.
constexpr std::uint32_t kPollMilliseconds = 1000;

std::optional<platform::RegKey> OpenUninstallKey(platform::Registry& registry)
{
    for (const char* path : kUninstallKeys) {
        if (auto key = registry.OpenKey(platform::RootKey::LocalMachine, path,
                                        platform::RegAccess::QueryValue))
            return key;
    }
    return std::nullopt;
}

// The registered command as it is to run: a REG_EXPAND_SZ command such as
// "%SystemRoot%\IsUninst.exe -f..." names its program through the
// environment, and would not start unexpanded.
std::optional<std::string> ReadUninstallCommand(platform::Platform& os, platform::RegKey key)
{
    for (const char* name : kUninstallValues) {
        if (auto command = os.registry.QueryString(key, name, kCommandBuffer)) {
            if (command->type == platform::kRegExpandSz)
                return os.processes.ExpandEnvironment(command->text);
            return command->text;
        }
    }
    return std::nullopt;
}

// Returns when the uninstaller has ended. WaitForInputIdle returns at once
// for a console program and for one that already waits for input, so the
// loop also waits on the process itself between its looks at the exit code:
// it sleeps until the next look, or wakes the moment the process ends.
void WaitUntilEnded(platform::Processes& processes, platform::ProcessHandle uninstaller)
{
    for (;;) {
        processes.WaitForInputIdle(uninstaller, kPollMilliseconds);
        if (processes.ExitCode(uninstaller) != platform::kStillActive)
            return;
        if (processes.WaitForExit(uninstaller, kPollMilliseconds) == platform::kWaitObject0)
            return;
    }
}

}  // namespace

void UninstallPreviousPackage(platform::Platform& os)
{
    auto key = OpenUninstallKey(os.registry);
    if (!key)
        return;
    auto command = ReadUninstallCommand(os, *key);
    if (!command) {
        os.registry.CloseKey(*key);
        return;
    }

    std::string commandLine = *command + kUnattendedSwitch;
    os.dialogs.BeginWaitCursor();
    if (auto uninstaller = os.processes.Start(commandLine, platform::kShowShow)) {
        WaitUntilEnded(os.processes, *uninstaller);
        os.processes.Release(*uninstaller);
    }
    os.dialogs.EndWaitCursor();
    os.registry.CloseKey(*key);
}
