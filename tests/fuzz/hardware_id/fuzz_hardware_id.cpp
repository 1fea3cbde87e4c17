// The hardware-ID walk of the device search. An input that begins with "="
// names the searched ID up to its first line feed; otherwise the device's own
// hardware ID is searched. The rest is the present devices, separated by line
// feeds: each one's hardware-ID property bytes, or nothing for a device that
// has no such property.
//
// The walk must give the first entry, before the first empty one and within
// the property's bytes, that contains the searched ID. The search must then
// remove exactly the first device with such an entry, put that entry in the
// ID buffer, and leave no device set open; with no match nothing changes.
#include <optional>
#include <vector>

#include "driver/driver_paths.h"
#include "driver/present_device.h"
#include "fuzz_check.h"
#include "platform/sim/sim_machine.h"

namespace {

// The entries of a property, each up to its zero byte or the end of the
// bytes, until the first empty one.
std::vector<std::string> Entries(const std::string& data)
{
    std::vector<std::string> entries;
    std::string entry;
    for (char byte : data) {
        if (byte != '\0') {
            entry += byte;
            continue;
        }
        if (entry.empty())
            return entries;
        entries.push_back(entry);
        entry.clear();
    }
    if (!entry.empty())
        entries.push_back(entry);
    return entries;
}

std::optional<std::string> ExpectedEntry(const std::string& data, const std::string& searched)
{
    for (const std::string& entry : Entries(data)) {
        if (entry.find(searched) != std::string::npos)
            return entry;
    }
    return std::nullopt;
}

void CheckWalk(const std::string& data, const std::string& searched)
{
    const auto entry = FindHardwareIdEntry(data, searched);
    const auto expected = ExpectedEntry(data, searched);
    FUZZ_CHECK(entry == expected);
    if (entry)
        FUZZ_CHECK(!entry->empty() && entry->find('\0') == std::string::npos);
}

void CheckSearch(const std::vector<std::string>& properties, const std::string& searched)
{
    sim::SimMachine machine;
    std::optional<std::size_t> expectedDevice;
    std::string expectedId = searched;
    for (std::size_t i = 0; i < properties.size(); ++i) {
        sim::SimDevice device;
        device.instanceId = "DEVICE\\" + std::to_string(i);
        device.hasHardwareIds = !properties[i].empty();
        device.hardwareIdData = properties[i];
        machine.devices.devices.push_back(device);
        if (device.hasHardwareIds && !expectedDevice) {
            if (auto entry = ExpectedEntry(properties[i], searched)) {
                expectedDevice = i;
                expectedId = *entry;
            }
        }
    }

    std::string deviceId = searched;
    int removeFlag = 1;
    const int result = FindPresentDevice(machine.os(), deviceId, removeFlag);
    FUZZ_CHECK(result == (expectedDevice ? 1 : 0));
    FUZZ_CHECK(deviceId == expectedId);
    FUZZ_CHECK(removeFlag == 1);
    for (std::size_t i = 0; i < properties.size(); ++i)
        FUZZ_CHECK(machine.devices.devices[i].present == (expectedDevice != i));
    FUZZ_CHECK(machine.devices.OpenDeviceSets() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input = fuzz::Bytes(data, size);
    std::string searched = kHardwareId;
    if (!input.empty() && input[0] == '=') {
        input.erase(0, 1);
        searched = fuzz::TakeLine(input);
    }
    std::vector<std::string> properties;
    while (!input.empty())
        properties.push_back(fuzz::TakeLine(input));

    for (const std::string& property : properties)
        CheckWalk(property, searched);
    CheckSearch(properties, searched);
    return 0;
}
