#include "driver/pnp_update.h"

#include <optional>
#include <string>
#include <vector>

#include "common/file_actions.h"
#include "common/windows_directory.h"
#include "driver/driver_paths.h"
#include "driver/present_device.h"

namespace {

constexpr std::uint32_t kPollInterval = 3000;
constexpr int kMaxFailedPolls = 10;
constexpr std::uint32_t kPauseBeforePrompt = 5000;
constexpr std::uint32_t kPauseBeforeRebootPrompt = 10000;

// The INF database caches of the INF folder; without them Windows rebuilds
// its index and finds the newly registered INF.
void DeleteInfDatabase(platform::Platform& os)
{
    const std::string infFolder = InfFolderPath(os.files);
    for (const char* name : {"Drvdata.bin", "Drvidx.bin"})
        DeleteEvenIfReadOnly(os.files, infFolder + name);
}

// Appends the staging folder to the installation-source list. The new list
// holds every queried entry, however many. When the list cannot be queried
// nothing is set: a list of the staging folder alone would replace the
// system's own.
std::optional<platform::SourceList> AddStagingToSourceList(platform::Platform& os)
{
    auto current = os.devices.QuerySourceList(platform::kSourceListSystemUser);
    if (!current)
        return std::nullopt;
    std::vector<std::string> extended = current->entries;
    extended.push_back(kDriverStagingDir);
    os.devices.SetSourceList(platform::kSourceListSystemUser, extended);
    return current;
}

}  // namespace

PnpUpdateResult InstallStagedDriver(platform::Platform& os)
{
    // Taken before anything changes: it counts the mixers of the driver that
    // is still installed.
    const int baseline = os.mixer.DeviceCount();

    const std::optional<std::string> deviceId = FindPresentDevice(os);

    bool rebootRequired = false;
    if (deviceId && os.devices.UpdateDriver(os.desktop.DesktopWindow(), *deviceId, kStagedInf,
                                            platform::kInstallFlagForce, rebootRequired)) {
        PnpUpdateResult result;
        if (rebootRequired) {
            result.windowsAsksRestart = true;
            result.pauseBeforePrompt = kPauseBeforeRebootPrompt;
        } else {
            result.newMixersCame = WaitForNewMixers(os, baseline);
            result.pauseBeforePrompt = kPauseBeforePrompt;
        }
        return result;
    }
    return ForceReinstall(os);
}

PnpUpdateResult ForceReinstall(platform::Platform& os)
{
    RemovePresentDevice(os);
    DeleteInfDatabase(os);
    PnpUpdateResult result;
    result.infHandedOver = os.devices.CopyOemInf(kStagedInf, kStagedMediaLocation);
    std::optional<platform::SourceList> queried = AddStagingToSourceList(os);

    // Taken after the removal: the removed device's mixers no longer count.
    const int baseline = os.mixer.DeviceCount();

    if (auto root = os.devices.LocateRootDevNode())
        os.devices.ReenumerateDevNode(*root, platform::kReenumerateNormal);

    if (queried)
        os.devices.FreeSourceList(*queried);
    result.newMixersCame = WaitForNewMixers(os, baseline);
    result.pauseBeforePrompt = kPauseBeforePrompt;
    return result;
}

bool WaitForNewMixers(platform::Platform& os, int baseline)
{
    int current = 0;
    int failedPolls = 0;
    while (current <= baseline && failedPolls < kMaxFailedPolls) {
        current = os.mixer.DeviceCount();
        if (current <= baseline) {
            ++failedPolls;
            os.clock.SleepEx(kPollInterval);
        }
    }
    return current > baseline;
}
