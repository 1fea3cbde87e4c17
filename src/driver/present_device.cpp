#include "driver/present_device.h"

// Entries are read only within the bytes the property call returned, so a
// list that lacks its final terminators still ends there. Hardware IDs are
// plain ASCII, so a byte search respects every multibyte code page.
bool FindHardwareIdEntry(const std::string& data, const std::string& deviceId,
                         std::string& matchingEntry)
{
    std::size_t start = 0;
    while (start < data.size() && data[start] != '\0') {
        std::size_t end = data.find('\0', start);
        if (end == std::string::npos)
            end = data.size();
        std::string entry = data.substr(start, end - start);
        if (entry.find(deviceId) != std::string::npos) {
            matchingEntry = entry;
            return true;
        }
        start = end + 1;
    }
    return false;
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
        std::string entry;
        if (!FindHardwareIdEntry(ids.data, deviceId, entry))
            continue;
        if (removeFlag != 0)
            removeFlag = os.devices.RemoveDevice(*set, device) ? 1 : 0;
        // The whole entry, however long: the update is aimed at exactly this ID.
        deviceId = entry;
        matched = true;
    }

    // Destroying the set may change the last error; the search's own stays.
    const std::uint32_t searchError = os.errors.LastError();
    os.devices.DestroyDeviceSet(*set);
    os.errors.SetLastError(searchError);
    return matched ? 1 : 0;
}
