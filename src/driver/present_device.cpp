#include "driver/present_device.h"

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

int FindPresentDevice(platform::Platform& os, std::string& deviceId, int& removeFlag)
{
    auto set = os.devices.GetPresentDevices();
    if (!set)
        return 0;

    bool matched = false;
    platform::DeviceInfo device;
    for (std::uint32_t index = 0; !matched && os.devices.EnumDevice(*set, index, device);
         ++index) {
        platform::HardwareIds ids = os.devices.GetHardwareIds(*set, device);
        if (ids.status == platform::HardwareIds::Status::NoProperty)
            continue;
        if (ids.status != platform::HardwareIds::Status::Read)
            break;
        auto entry = FindHardwareIdEntry(ids.data, deviceId);
        if (!entry)
            continue;
        if (removeFlag != 0)
            removeFlag = os.devices.RemoveDevice(*set, device) ? 1 : 0;
        // The whole entry, however long: the update is aimed at exactly this ID.
        deviceId = *entry;
        matched = true;
    }

    // Destroying the set may change the last error; the search's own stays.
    const std::uint32_t searchError = os.errors.LastError();
    os.devices.DestroyDeviceSet(*set);
    os.errors.SetLastError(searchError);
    return matched ? 1 : 0;
}
