#include "driver/present_device.h"

#include "driver/driver_paths.h"

// Entries are read only within the bytes the property call returned, so a
// list that lacks its final terminators still ends there. Hardware IDs are
// plain ASCII, so a byte search respects every multibyte code page.
std::optional<std::string> FindHardwareIdEntry(const std::string& data,
                                               const std::string& deviceId)
{
    std::size_t start = 0;
    while (start < data.size() && data[start] != '\0') {
        std::size_t end = data.find('\0', start);
        if (end == std::string::npos)
            end = data.size();
        std::string entry = data.substr(start, end - start);
        if (entry.find(deviceId) != std::string::npos)
            return entry;
        start = end + 1;
    }
    return std::nullopt;
}

namespace {

enum class OnMatch { Keep, Remove };

std::optional<std::string> SearchPresentDevices(platform::Platform& os, OnMatch onMatch)
{
    auto set = os.devices.GetPresentDevices();
    if (!set)
        return std::nullopt;

    std::optional<std::string> matched;
    platform::DeviceInfo device;
    for (std::uint32_t index = 0; !matched && os.devices.EnumDevice(*set, index, device);
         ++index) {
        // A device without hardware IDs, or whose IDs cannot be read, is not
        // the audio device; one listed after it still may be.
        platform::HardwareIds ids = os.devices.GetHardwareIds(*set, device);
        if (ids.status != platform::HardwareIds::Status::Read)
            continue;
        matched = FindHardwareIdEntry(ids.data, kHardwareId);
        if (matched && onMatch == OnMatch::Remove)
            os.devices.RemoveDevice(*set, device);
    }

    // Destroying the set may change the last error; the search's own stays.
    const std::uint32_t searchError = os.errors.LastError();
    os.devices.DestroyDeviceSet(*set);
    os.errors.SetLastError(searchError);
    return matched;
}

}  // namespace

std::optional<std::string> FindPresentDevice(platform::Platform& os)
{
    return SearchPresentDevices(os, OnMatch::Keep);
}

void RemovePresentDevice(platform::Platform& os)
{
    SearchPresentDevices(os, OnMatch::Remove);
}
