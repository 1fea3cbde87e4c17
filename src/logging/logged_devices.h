#pragma once

#include "platform/devices.h"
#include "logging/logged_service.h"

namespace logging {

class LoggedDevices : public platform::Devices, private LoggedService {
public:
    LoggedDevices(platform::Devices& inner, RunLog& log)
        : LoggedService(log), m_inner(inner) {}

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
    platform::Devices& m_inner;
};

}  // namespace logging
