// The devices of the simulated machine and what the device-installation
// functions do with them: present devices and their hardware IDs, driver
// updates, OEM INF copies, the installation-source list and re-enumeration.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/devices.h"
#include "sim/sim_context.h"
#include "sim/sim_files.h"

namespace sim {

struct SimDevice {
    std::string instanceId;
    std::string hardwareIdData;  // the property's bytes; normally entries ended by an empty one
    bool hasHardwareIds = true;
    bool removable = true;
    bool present = true;
    // Removed by SetupDiRemoveDevice: the hardware is still there, and the
    // next re-enumeration of the device tree finds it again.
    bool removed = false;
};

struct SimDriverUpdate {
    platform::WindowHandle parent{};
    std::string hardwareId;
    std::string infPath;
    std::uint32_t flags = 0;
};

class SimDevices : public platform::Devices {
public:
    SimDevices(SimContext& context, SimFileSystem& files) : m_context(context), m_files(files) {}

    // The machine's side, for tests.
    std::vector<SimDevice> devices;
    void AddDevice(const std::string& instanceId, const std::vector<std::string>& hardwareIds);
    const SimDevice* Device(const std::string& instanceId) const;

    // Runs when a device has been removed, before the call returns.
    std::function<void(const SimDevice&)> onRemove;

    bool updateSucceeds = true;
    bool updateNeedsReboot = false;
    std::vector<SimDriverUpdate> updates;
    std::function<void(const SimDriverUpdate&)> onUpdate;

    std::vector<std::string> oemInfs;  // full paths of the INF copies made
    std::vector<std::string> sourceList{"D:\\"};
    bool sourceListAvailable = true;
    int sourceListsQueried = 0;
    int sourceListsFreed = 0;
    bool rootLocates = true;
    int reenumerations = 0;
    // Runs after a re-enumeration has found the removed devices again.
    std::function<void()> onReenumerate;

    // platform::Devices
    std::optional<platform::DeviceSet> GetPresentDevices() override;
    bool EnumDevice(platform::DeviceSet set, std::uint32_t index,
                    platform::DeviceInfo& device) override;
    platform::HardwareIds GetHardwareIds(platform::DeviceSet set,
                                         const platform::DeviceInfo& device) override;
    bool RemoveDevice(platform::DeviceSet set, const platform::DeviceInfo& device) override;
    void DestroyDeviceSet(platform::DeviceSet set) override;
    bool UpdateDriver(platform::WindowHandle parent, const std::string& hardwareId,
                      const std::string& infPath, std::uint32_t flags,
                      bool& rebootRequired) override;
    bool CopyOemInf(const std::string& infPath, const std::string& mediaLocation) override;
    std::optional<platform::SourceList> QuerySourceList(std::uint32_t flags) override;
    bool SetSourceList(std::uint32_t flags, const std::vector<std::string>& entries) override;
    void FreeSourceList(platform::SourceList& list) override;
    std::optional<platform::DevNode> LocateRootDevNode() override;
    std::uint32_t ReenumerateDevNode(platform::DevNode node, std::uint32_t flags) override;

    std::size_t OpenDeviceSets() const { return m_sets.size(); }
    // Queried source lists not given back yet.
    std::size_t OpenSourceLists() const { return m_openSourceLists.size(); }

private:
    SimDevice& InSet(platform::DeviceSet set, const platform::DeviceInfo& device);
    bool HasPresentDeviceWithId(const std::string& hardwareId) const;
    void DeviceEffect(const std::string& operation, const std::string& result,
                      std::vector<SimEffectField> details);

    SimContext& m_context;
    SimFileSystem& m_files;
    std::map<std::uintptr_t, std::vector<std::size_t>> m_sets;  // indices into `devices`
    std::uintptr_t m_nextSet = 0x900;
    std::set<std::uintptr_t> m_openSourceLists;  // by cookie
    std::uintptr_t m_nextSourceList = 0xABC;
};

}  // namespace sim
