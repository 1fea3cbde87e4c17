#include "sim/sim_devices.h"

#include <utility>

namespace sim {

namespace {

constexpr std::uint32_t kConfigRetFailure = 0x13;  // CR_FAILURE

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

void SimDevices::DeviceEffect(const std::string& operation, const std::string& result,
                              std::vector<SimEffectField> details)
{
    std::vector<SimEffectField> fields{TextField("operation", operation),
                                       TextField("result", result)};
    fields.insert(fields.end(), details.begin(), details.end());
    m_context.Effect("device", std::move(fields));
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
    const std::string detail = "DIGCF_PRESENT|DIGCF_ALLCLASSES";
    if (!m_context.Succeeds("SetupDiGetClassDevsA", detail, error::kNotEnoughMemory))
        return std::nullopt;
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
    if (!m_context.Succeeds("SetupDiEnumDeviceInfo", std::to_string(index), error::kInvalidHandle))
        return false;
    if (index >= it->second.size()) {
        m_context.lastError = error::kNoMoreItems;
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
    if (m_context.Fails("SetupDiGetDeviceRegistryPropertyA", simDevice.instanceId,
                        error::kNotEnoughMemory)) {
        ids.status = platform::HardwareIds::Status::Failed;
        return ids;
    }
    m_context.Record("SetupDiGetDeviceRegistryPropertyA", simDevice.instanceId);
    if (!simDevice.hasHardwareIds) {
        ids.status = platform::HardwareIds::Status::NoProperty;
        m_context.lastError = error::kInvalidData;
        return ids;
    }
    ids.status = platform::HardwareIds::Status::Read;
    ids.data = simDevice.hardwareIdData;
    return ids;
}

bool SimDevices::RemoveDevice(platform::DeviceSet set, const platform::DeviceInfo& device)
{
    SimDevice& simDevice = InSet(set, device);
    if (m_context.Fails("SetupDiRemoveDevice", simDevice.instanceId, error::kAccessDenied))
        return false;
    DeviceEffect("remove", simDevice.removable ? "removed" : "refused",
                 {TextField("device", simDevice.instanceId)});
    if (!simDevice.removable) {
        m_context.Record("SetupDiRemoveDevice", simDevice.instanceId + " (refused)");
        m_context.lastError = error::kAccessDenied;
        return false;
    }
    m_context.Record("SetupDiRemoveDevice", simDevice.instanceId);
    simDevice.present = false;
    simDevice.removed = true;
    if (onRemove)
        onRemove(simDevice);
    return true;
}

void SimDevices::DestroyDeviceSet(platform::DeviceSet set)
{
    m_sets.erase(static_cast<std::uintptr_t>(set));
    if (m_context.ReleaseFails("SetupDiDestroyDeviceInfoList", ""))
        return;
    m_context.Record("SetupDiDestroyDeviceInfoList", "");
    m_context.lastError = 0;  // a successful call may clear it, as on Windows
}

bool SimDevices::UpdateDriver(platform::WindowHandle parent, const std::string& hardwareId,
                              const std::string& infPath, std::uint32_t flags,
                              bool& rebootRequired)
{
    std::string detail = hardwareId + " " + infPath + " " + Hex(flags);
    SimDriverUpdate update{parent, hardwareId, infPath, flags};
    updates.push_back(update);
    if (m_context.Fails("UpdateDriverForPlugAndPlayDevicesA", detail, error::kAccessDenied))
        return false;
    // Windows updates the present devices that have exactly this hardware ID
    // (without regard to case); with none it fails with ERROR_NO_SUCH_DEVINST.
    const std::vector<SimEffectField> updateFields{TextField("hardware_id", hardwareId),
                                                   TextField("inf", infPath)};
    if (!HasPresentDeviceWithId(hardwareId)) {
        m_context.Record("UpdateDriverForPlugAndPlayDevicesA", detail + " (no such device)");
        DeviceEffect("update", "no such device", updateFields);
        m_context.lastError = error::kNoSuchDevinst;
        return false;
    }
    bool succeeds = updateSucceeds && m_files.Exists(infPath);
    m_context.Record("UpdateDriverForPlugAndPlayDevicesA", detail + (succeeds ? "" : " (failed)"));
    DeviceEffect("update",
                 !succeeds ? "failed" : updateNeedsReboot ? "updated, restart needed" : "updated",
                 updateFields);
    if (!succeeds) {
        m_context.lastError = error::kFileNotFound;
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
    if (m_context.Fails("SetupCopyOEMInfA", detail, error::kAccessDenied))
        return false;
    auto bytes = m_files.Read(infPath);
    m_context.Record("SetupCopyOEMInfA", detail + (bytes ? "" : " (failed)"));
    if (!bytes) {
        DeviceEffect("register INF", "failed", {TextField("inf", infPath)});
        m_context.lastError = error::kFileNotFound;
        return false;
    }
    std::string infFolder = m_files.windowsDirectory + "\\INF\\";
    int number = 0;
    while (m_files.Exists(infFolder + "oem" + std::to_string(number) + ".inf"))
        ++number;
    std::string copy = infFolder + "oem" + std::to_string(number) + ".inf";
    std::string precompiled = infFolder + "oem" + std::to_string(number) + ".PNF";
    DeviceEffect("register INF", "copied as " + copy, {TextField("inf", infPath)});
    m_files.AddFile(copy, *bytes);
    m_files.AddFile(precompiled, "PNF");
    oemInfs.push_back(copy);
    m_files.Changed(copy);
    m_files.Changed(precompiled);
    m_files.Erase(infPath);  // SP_COPY_DELETESOURCE
    m_files.Changed(infPath);
    return true;
}

std::optional<platform::SourceList> SimDevices::QuerySourceList(std::uint32_t flags)
{
    std::string detail = Hex(flags);
    if (m_context.Fails("SetupQuerySourceListA", detail, error::kNotEnoughMemory))
        return std::nullopt;
    if (!sourceListAvailable) {
        m_context.Record("SetupQuerySourceListA", detail + " (failed)");
        m_context.lastError = error::kInvalidParameter;
        return std::nullopt;
    }
    m_context.Record("SetupQuerySourceListA", detail);
    ++sourceListsQueried;
    std::uintptr_t cookie = m_nextSourceList++;
    m_openSourceLists.insert(cookie);
    return platform::SourceList{sourceList, cookie};
}

bool SimDevices::SetSourceList(std::uint32_t flags, const std::vector<std::string>& entries)
{
    std::string detail = Hex(flags) + " count=" + std::to_string(entries.size());
    if (m_context.Fails("SetupSetSourceListA", detail, error::kAccessDenied))
        return false;
    std::string listed;
    for (const std::string& entry : entries)
        listed += (listed.empty() ? "" : ";") + entry;
    DeviceEffect("set source list", sourceListAvailable ? "set" : "failed",
                 {TextField("entries", listed)});
    if (!sourceListAvailable) {
        m_context.Record("SetupSetSourceListA", detail + " (failed)");
        m_context.lastError = error::kInvalidParameter;
        return false;
    }
    m_context.Record("SetupSetSourceListA", detail);
    sourceList = entries;
    return true;
}

void SimDevices::FreeSourceList(platform::SourceList& list)
{
    if (!m_openSourceLists.erase(list.cookie))
        throw SimScriptError("source list freed that was not queried, or freed twice");
    ++sourceListsFreed;
    std::string detail = "count=" + std::to_string(list.entries.size());
    m_context.Release("SetupFreeSourceListA", detail);
}

std::optional<platform::DevNode> SimDevices::LocateRootDevNode()
{
    // The Configuration Manager answers with CR_FAILURE; the last error stays.
    if (m_context.Fails("CM_Locate_DevNodeA", "root"))
        return std::nullopt;
    if (!rootLocates) {
        m_context.Record("CM_Locate_DevNodeA", "root (failed)");
        return std::nullopt;
    }
    m_context.Record("CM_Locate_DevNodeA", "root");
    return static_cast<platform::DevNode>(1);
}

std::uint32_t SimDevices::ReenumerateDevNode(platform::DevNode, std::uint32_t flags)
{
    if (!m_context.Succeeds("CM_Reenumerate_DevNode", Hex(flags)))
        return kConfigRetFailure;
    DeviceEffect("re-enumerate", "done", {});
    ++reenumerations;
    // Plug and Play enumerates the buses again and finds the hardware of
    // every removed device.
    for (SimDevice& device : devices) {
        if (device.removed) {
            device.removed = false;
            device.present = true;
        }
    }
    if (onReenumerate)
        onReenumerate();
    return platform::kConfigRetSuccess;
}

}  // namespace sim
