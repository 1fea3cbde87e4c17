#include "platform/sim/sim_devices.h"

namespace sim {

namespace {

constexpr std::uint32_t kErrorNoMoreItems = 259;          // ERROR_NO_MORE_ITEMS
constexpr std::uint32_t kErrorNoSuchDevinst = 0xE000020B;  // ERROR_NO_SUCH_DEVINST

}  // namespace

void SimDevices::AddDevice(const std::string& instanceId,
                           const std::vector<std::string>& hardwareIds)
{
    SimDevice device;
    device.instanceId = instanceId;
    for (const std::string& id : hardwareIds)
        device.hardwareIdData += id + '\0';
    device.hardwareIdData += '\0';
    devices.push_back(device);
}

const SimDevice* SimDevices::Device(const std::string& instanceId) const
{
    for (const SimDevice& device : devices) {
        if (device.instanceId == instanceId)
            return &device;
    }
    return nullptr;
}

bool SimDevices::HasPresentDeviceWithId(const std::string& hardwareId) const
{
    for (const SimDevice& device : devices) {
        if (!device.present || !device.hasHardwareIds)
            continue;
        const std::string& data = device.hardwareIdData;
        for (std::size_t start = 0; start < data.size() && data[start] != '\0';) {
            std::size_t end = data.find('\0', start);
            if (end == std::string::npos)
                end = data.size();
            if (EqualNoCase(data.substr(start, end - start), hardwareId))
                return true;
            start = end + 1;
        }
    }
    return false;
}

std::optional<platform::DeviceSet> SimDevices::GetPresentDevices()
{
    if (m_context.Fails("SetupDiGetClassDevsA", "DIGCF_PRESENT|DIGCF_ALLCLASSES"))
        return std::nullopt;
    m_context.Record("SetupDiGetClassDevsA", "DIGCF_PRESENT|DIGCF_ALLCLASSES");
    std::vector<std::size_t> present;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].present)
            present.push_back(i);
    }
    std::uintptr_t set = m_nextSet++;
    m_sets[set] = present;
    return static_cast<platform::DeviceSet>(set);
}

SimDevice& SimDevices::InSet(platform::DeviceSet set, const platform::DeviceInfo& device)
{
    auto it = m_sets.find(static_cast<std::uintptr_t>(set));
    if (it == m_sets.end() || device.index >= it->second.size())
        throw SimScriptError("device used outside its device information set");
    return devices[it->second[device.index]];
}

bool SimDevices::EnumDevice(platform::DeviceSet set, std::uint32_t index,
                            platform::DeviceInfo& device)
{
    auto it = m_sets.find(static_cast<std::uintptr_t>(set));
    if (it == m_sets.end())
        throw SimScriptError("device information set used after it was destroyed");
    m_context.Record("SetupDiEnumDeviceInfo", std::to_string(index));
    if (index >= it->second.size()) {
        m_context.lastError = kErrorNoMoreItems;
        return false;
    }
    device.index = index;
    device.devInst = it->second[index] + 1;
    return true;
}

platform::HardwareIds SimDevices::GetHardwareIds(platform::DeviceSet set,
                                                 const platform::DeviceInfo& device)
{
    SimDevice& simDevice = InSet(set, device);
    platform::HardwareIds ids;
    if (m_context.Fails("SetupDiGetDeviceRegistryPropertyA", simDevice.instanceId)) {
        ids.status = platform::HardwareIds::Status::Failed;
        return ids;
    }
    m_context.Record("SetupDiGetDeviceRegistryPropertyA", simDevice.instanceId);
    if (!simDevice.hasHardwareIds) {
        ids.status = platform::HardwareIds::Status::NoProperty;
        return ids;
    }
    ids.status = platform::HardwareIds::Status::Read;
    ids.data = simDevice.hardwareIdData;
    return ids;
}

bool SimDevices::RemoveDevice(platform::DeviceSet set, const platform::DeviceInfo& device)
{
    SimDevice& simDevice = InSet(set, device);
    if (m_context.Fails("SetupDiRemoveDevice", simDevice.instanceId) || !simDevice.removable) {
        m_context.Record("SetupDiRemoveDevice", simDevice.instanceId + " (failed)");
        return false;
    }
    m_context.Record("SetupDiRemoveDevice", simDevice.instanceId);
    simDevice.present = false;
    if (onRemove)
        onRemove(simDevice);
    return true;
}

void SimDevices::DestroyDeviceSet(platform::DeviceSet set)
{
    m_context.Record("SetupDiDestroyDeviceInfoList", "");
    m_sets.erase(static_cast<std::uintptr_t>(set));
    m_context.lastError = 0;  // a successful call may clear it, as on Windows
}

bool SimDevices::UpdateDriver(platform::WindowHandle parent, const std::string& hardwareId,
                              const std::string& infPath, std::uint32_t flags,
                              bool& rebootRequired)
{
    std::string detail = hardwareId + " " + infPath + " " + Hex(flags);
    SimDriverUpdate update{parent, hardwareId, infPath, flags};
    updates.push_back(update);
    if (m_context.Fails("UpdateDriverForPlugAndPlayDevicesA", detail))
        return false;
    // Windows updates the present devices that have exactly this hardware ID
    // (without regard to case); with none it fails with ERROR_NO_SUCH_DEVINST.
    if (!HasPresentDeviceWithId(hardwareId)) {
        m_context.Record("UpdateDriverForPlugAndPlayDevicesA", detail + " (no such device)");
        m_context.lastError = kErrorNoSuchDevinst;
        return false;
    }
    bool succeeds = updateSucceeds && m_files.Exists(infPath);
    m_context.Record("UpdateDriverForPlugAndPlayDevicesA", detail + (succeeds ? "" : " (failed)"));
    if (!succeeds) {
        m_context.lastError = 2;  // ERROR_FILE_NOT_FOUND
        return false;
    }
    rebootRequired = updateNeedsReboot;
    if (onUpdate)
        onUpdate(update);
    return true;
}

bool SimDevices::CopyOemInf(const std::string& infPath, const std::string& mediaLocation)
{
    std::string detail = infPath + " " + mediaLocation;
    if (m_context.Fails("SetupCopyOEMInfA", detail))
        return false;
    auto bytes = m_files.Read(infPath);
    m_context.Record("SetupCopyOEMInfA", detail + (bytes ? "" : " (failed)"));
    if (!bytes)
        return false;
    std::string infFolder = m_files.windowsDirectory + "\\INF\\";
    int number = 0;
    while (m_files.Exists(infFolder + "oem" + std::to_string(number) + ".inf"))
        ++number;
    std::string copy = infFolder + "oem" + std::to_string(number) + ".inf";
    m_files.AddFile(copy, *bytes);
    m_files.AddFile(infFolder + "oem" + std::to_string(number) + ".PNF", "PNF");
    oemInfs.push_back(copy);
    m_files.Erase(infPath);  // SP_COPY_DELETESOURCE
    return true;
}

std::optional<platform::SourceList> SimDevices::QuerySourceList(std::uint32_t flags)
{
    std::string detail = Hex(flags);
    if (!sourceListAvailable || m_context.Fails("SetupQuerySourceListA", detail)) {
        m_context.Record("SetupQuerySourceListA", detail + " (failed)");
        return std::nullopt;
    }
    m_context.Record("SetupQuerySourceListA", detail);
    ++sourceListsQueried;
    return platform::SourceList{sourceList, 0xABC};
}

bool SimDevices::SetSourceList(std::uint32_t flags, const std::vector<std::string>& entries)
{
    std::string detail = Hex(flags) + " count=" + std::to_string(entries.size());
    if (!sourceListAvailable || m_context.Fails("SetupSetSourceListA", detail)) {
        m_context.Record("SetupSetSourceListA", detail + " (failed)");
        return false;
    }
    m_context.Record("SetupSetSourceListA", detail);
    sourceList = entries;
    return true;
}

void SimDevices::FreeSourceList(platform::SourceList& list)
{
    m_context.Record("SetupFreeSourceListA", "count=" + std::to_string(list.entries.size()));
    ++sourceListsFreed;
}

std::optional<platform::DevNode> SimDevices::LocateRootDevNode()
{
    if (!rootLocates || m_context.Fails("CM_Locate_DevNodeA", "root")) {
        m_context.Record("CM_Locate_DevNodeA", "root (failed)");
        return std::nullopt;
    }
    m_context.Record("CM_Locate_DevNodeA", "root");
    return static_cast<platform::DevNode>(1);
}

std::uint32_t SimDevices::ReenumerateDevNode(platform::DevNode, std::uint32_t flags)
{
    m_context.Record("CM_Reenumerate_DevNode", Hex(flags));
    ++reenumerations;
    if (onReenumerate)
        onReenumerate();
    return platform::kConfigRetSuccess;
}

}  // namespace sim
