#include "win32/win32_devices.h"

#include "win32/device_library.h"
#include "win32/win32_handles.h"

namespace win32 {

struct Win32Devices::DeviceRecord {
    SP_DEVINFO_DATA data;
};

namespace {

// What a call to a function that this Windows lacks reports.
void ReportMissing()
{
    SetLastError(ERROR_PROC_NOT_FOUND);
}

}  // namespace

Win32Devices::Win32Devices() = default;
Win32Devices::~Win32Devices() = default;

std::optional<platform::DeviceSet> Win32Devices::GetPresentDevices()
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.getClassDevs) {
        ReportMissing();
        return std::nullopt;
    }
    HDEVINFO set = setup.getClassDevs(nullptr, nullptr, nullptr,
                                      DIGCF_PRESENT | DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return std::nullopt;
    return ToOpaque<platform::DeviceSet>(set);
}

bool Win32Devices::EnumDevice(platform::DeviceSet set, std::uint32_t index,
                              platform::DeviceInfo& device)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.enumDeviceInfo) {
        ReportMissing();
        return false;
    }
    auto record = std::make_unique<DeviceRecord>();
    record->data = {};
    record->data.cbSize = sizeof(record->data);
    if (!setup.enumDeviceInfo(ToNative<HDEVINFO>(set), index, &record->data))
        return false;
    device.index = index;
    device.devInst = record->data.DevInst;
    m_enumerated[DeviceKey(set, index)] = std::move(record);
    return true;
}

const Win32Devices::DeviceRecord* Win32Devices::FindRecord(
    platform::DeviceSet set, const platform::DeviceInfo& device) const
{
    auto found = m_enumerated.find(DeviceKey(set, device.index));
    if (found == m_enumerated.end() || found->second->data.DevInst != device.devInst) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return found->second.get();
}

platform::HardwareIds Win32Devices::GetHardwareIds(platform::DeviceSet set,
                                                   const platform::DeviceInfo& device)
{
    platform::HardwareIds ids;
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.getDeviceRegistryProperty) {
        ReportMissing();
        return ids;
    }
    const DeviceRecord* record = FindRecord(set, device);
    if (!record)
        return ids;
    SP_DEVINFO_DATA data = record->data;

    // First without a buffer; whenever the property does not fit, a fresh
    // zero-filled buffer of the size the call asks for.
    BYTE* buffer = nullptr;
    DWORD bufferSize = 0;
    for (;;) {
        DWORD required = 0;
        if (setup.getDeviceRegistryProperty(ToNative<HDEVINFO>(set), &data, SPDRP_HARDWAREID,
                                            nullptr, buffer, bufferSize, &required)) {
            DWORD returned = required < bufferSize ? required : bufferSize;
            ids.status = platform::HardwareIds::Status::Read;
            if (buffer)
                ids.data.assign(reinterpret_cast<const char*>(buffer), returned);
            break;
        }
        DWORD error = GetLastError();
        if (error == ERROR_INVALID_DATA) {
            ids.status = platform::HardwareIds::Status::NoProperty;
            break;
        }
        // A size that does not grow would ask again for ever.
        if (error != ERROR_INSUFFICIENT_BUFFER || required <= bufferSize)
            break;
        if (buffer)
            LocalFree(buffer);
        buffer = static_cast<BYTE*>(LocalAlloc(LPTR, required));
        bufferSize = buffer ? required : 0;
        if (!buffer)
            break;
    }
    if (buffer)
        LocalFree(buffer);
    return ids;
}

bool Win32Devices::RemoveDevice(platform::DeviceSet set, const platform::DeviceInfo& device)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.removeDevice) {
        ReportMissing();
        return false;
    }
    const DeviceRecord* record = FindRecord(set, device);
    if (!record)
        return false;
    SP_DEVINFO_DATA data = record->data;
    return setup.removeDevice(ToNative<HDEVINFO>(set), &data) != FALSE;
}

void Win32Devices::DestroyDeviceSet(platform::DeviceSet set)
{
    for (auto record = m_enumerated.begin(); record != m_enumerated.end();) {
        if (record->first.first == set)
            record = m_enumerated.erase(record);
        else
            ++record;
    }
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.destroyDeviceInfoList) {
        ReportMissing();
        return;
    }
    setup.destroyDeviceInfoList(ToNative<HDEVINFO>(set));
}

bool Win32Devices::UpdateDriver(platform::WindowHandle parent, const std::string& hardwareId,
                                const std::string& infPath, std::uint32_t flags,
                                bool& rebootRequired)
{
    rebootRequired = false;
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.updateDriver) {
        ReportMissing();
        return false;
    }
    BOOL reboot = FALSE;
    BOOL updated = setup.updateDriver(ToNative<HWND>(parent), hardwareId.c_str(),
                                      infPath.c_str(), flags, &reboot);
    rebootRequired = reboot != FALSE;
    return updated != FALSE;
}

bool Win32Devices::CopyOemInf(const std::string& infPath, const std::string& mediaLocation)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.copyOemInf) {
        ReportMissing();
        return false;
    }
    return setup.copyOemInf(infPath.c_str(), mediaLocation.c_str(), SPOST_PATH,
                            SP_COPY_DELETESOURCE, nullptr, 0, nullptr, nullptr) != FALSE;
}

std::optional<platform::SourceList> Win32Devices::QuerySourceList(std::uint32_t flags)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.querySourceList || !setup.freeSourceList) {
        ReportMissing();
        return std::nullopt;
    }
    PCSTR* entries = nullptr;
    UINT count = 0;
    if (!setup.querySourceList(flags, &entries, &count))
        return std::nullopt;

    platform::SourceList list;
    for (UINT i = 0; i < count; ++i)
        list.entries.push_back(entries[i] ? entries[i] : "");
    list.cookie = reinterpret_cast<std::uintptr_t>(entries);
    m_queriedCounts[list.cookie] = count;
    return list;
}

bool Win32Devices::SetSourceList(std::uint32_t flags, const std::vector<std::string>& entries)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.setSourceList) {
        ReportMissing();
        return false;
    }
    std::vector<PCSTR> pointers;
    for (const std::string& entry : entries)
        pointers.push_back(entry.c_str());
    return setup.setSourceList(flags, pointers.empty() ? nullptr : pointers.data(),
                               static_cast<UINT>(pointers.size())) != FALSE;
}

void Win32Devices::FreeSourceList(platform::SourceList& list)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    auto queried = m_queriedCounts.find(list.cookie);
    if (queried != m_queriedCounts.end()) {
        PCSTR* entries = reinterpret_cast<PCSTR*>(list.cookie);
        if (setup.freeSourceList)
            setup.freeSourceList(&entries, queried->second);
        m_queriedCounts.erase(queried);
    }
    list.cookie = 0;
    list.entries.clear();
}

std::optional<platform::DevNode> Win32Devices::LocateRootDevNode()
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.locateDevNode) {
        ReportMissing();
        return std::nullopt;
    }
    DEVINST node = 0;
    if (setup.locateDevNode(&node, nullptr, CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS)
        return std::nullopt;
    return static_cast<platform::DevNode>(node);
}

std::uint32_t Win32Devices::ReenumerateDevNode(platform::DevNode node, std::uint32_t flags)
{
    const DeviceLibrary& setup = LoadDeviceLibrary();
    if (!setup.reenumerateDevNode) {
        ReportMissing();
        return CR_FAILURE;
    }
    return setup.reenumerateDevNode(static_cast<DEVINST>(node), flags);
}

}  // namespace win32
