// The hardware-ID walk of the device search. An input that begins with "="
// names the ID the walk searches, up to its first line feed; otherwise it
// searches the device's own hardware ID. The rest is the present devices,
// separated by line feeds: each one's hardware-ID property bytes, or nothing
// for a device that has no such property. The eighth device takes all that
// is left.
//
// The walk must give the first entry, before the first empty one and within
// the property's bytes, that contains the searched ID. The device search for
// the audio device must find the first device with an entry that contains
// its hardware ID and give that whole entry; when asked to remove, it must
// remove exactly that device. It leaves no device set open, and with no
// match nothing changes.
#include <optional>
#include <vector>

#include "driver/driver_paths.h"
#include "driver/present_device.h"
#include "fuzz_check.h"
#include "sim/sim_machine.h"

namespace {

// Enough to have matching devices before and after unreadable or
// non-matching ones; more only make each run slower.
constexpr std::size_t kMostDevices = 8;

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

// The machine's present devices, one per property; an empty property is a
// device without hardware IDs.
void AddDevices(sim::SimMachine& machine, const std::vector<std::string>& properties)
{
    for (std::size_t i = 0; i < properties.size(); ++i) {
        sim::SimDevice device;
        device.instanceId = "DEVICE\\" + std::to_string(i);
        device.hasHardwareIds = !properties[i].empty();
        device.hardwareIdData = properties[i];
        machine.devices.devices.push_back(device);
    }
}

std::optional<std::size_t> FirstMatchingDevice(const std::vector<std::string>& properties)
{
    for (std::size_t i = 0; i < properties.size(); ++i) {
        if (!properties[i].empty() && ExpectedEntry(properties[i], kHardwareId))
            return i;
    }
    return std::nullopt;
}

void CheckDevicesLeft(const sim::SimMachine& machine, std::optional<std::size_t> removed)
{
    for (std::size_t i = 0; i < machine.devices.devices.size(); ++i)
        FUZZ_CHECK(machine.devices.devices[i].present == (removed != i));
    FUZZ_CHECK(machine.devices.OpenDeviceSets() == 0);
}

// The device search for the audio device's hardware ID, as the driver
// update runs it on one machine: first to find the device, then to remove it.
void CheckSearch(const std::vector<std::string>& properties)
{
    const std::optional<std::size_t> expected = FirstMatchingDevice(properties);

    sim::SimMachine machine;
    AddDevices(machine, properties);
    const std::optional<std::string> found = FindPresentDevice(machine.os());
    FUZZ_CHECK(found.has_value() == expected.has_value());
    if (found)
        FUZZ_CHECK(*found == *ExpectedEntry(properties[*expected], kHardwareId));
    CheckDevicesLeft(machine, std::nullopt);

    RemovePresentDevice(machine.os());
    CheckDevicesLeft(machine, expected);
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
    while (!input.empty()) {
        if (properties.size() + 1 == kMostDevices) {
            properties.push_back(input);  // line feeds and all
            break;
        }
        properties.push_back(fuzz::TakeLine(input));
    }

    for (const std::string& property : properties)
        CheckWalk(property, searched);
    CheckSearch(properties);
    return 0;
}
