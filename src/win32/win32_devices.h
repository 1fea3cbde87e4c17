#pragma once

#include <memory>
#include <utility>

#include "platform/devices.h"
#include "win32/small_map.h"

namespace win32 {

class Win32Devices : public platform::Devices {
public:
    Win32Devices();
    ~Win32Devices() override;
    Win32Devices(const Win32Devices&) = delete;
    Win32Devices& operator=(const Win32Devices&) = delete;

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

private:
    // The whole SP_DEVINFO_DATA of an enumerated device: the Setup API needs
    // its reserved part back, and DeviceInfo carries only index and node.
    struct DeviceRecord;
    using DeviceKey = std::pair<platform::DeviceSet, std::uint32_t>;

    const DeviceRecord* FindRecord(platform::DeviceSet set,
                                   const platform::DeviceInfo& device) const;

    SmallMap<DeviceKey, std::unique_ptr<DeviceRecord>> m_enumerated;
    // The count each queried source list came with, by its cookie: the free
    // call gets that count whatever became of the entries meanwhile.
    SmallMap<std::uintptr_t, std::uint32_t> m_queriedCounts;
};

}  // namespace win32
