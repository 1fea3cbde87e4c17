// Device installation: the Setup API's device and source-list functions, the
// Configuration Manager's re-enumeration and the new-device installer. These
// exist from Windows 2000 on; where a function is missing it behaves as a
// failed call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"

namespace platform {

constexpr std::uint32_t kInstallFlagForce = 1;        // INSTALLFLAG_FORCE
constexpr std::uint32_t kSourceListSystemUser = 0x30;  // SRCLIST_SYSTEM | SRCLIST_USER
constexpr std::uint32_t kConfigRetSuccess = 0;         // CR_SUCCESS
constexpr std::uint32_t kReenumerateNormal = 0;        // CM_REENUMERATE_NORMAL

// One device of a device information set (its SP_DEVINFO_DATA).
struct DeviceInfo {
    std::uint32_t index = 0;
    std::uintptr_t devInst = 0;
};

// The SPDRP_HARDWAREID property of one device.
struct HardwareIds {
    enum class Status {
        Read,        // `data` holds the property as returned
        NoProperty,  // ERROR_INVALID_DATA: the device has no hardware IDs
        Failed,      // any other error
    };
    Status status = Status::Failed;
    // The bytes the property call returned, exactly as many as it reported;
    // normally a list of zero-terminated entries ended by an empty one.
    std::string data;
};

// A list returned by SetupQuerySourceListA, to be given back to
// SetupFreeSourceListA.
struct SourceList {
    std::vector<std::string> entries;
    std::uintptr_t cookie = 0;
};

class Devices {
public:
    virtual ~Devices() = default;

    // SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_PRESENT | DIGCF_ALLCLASSES).
    virtual std::optional<DeviceSet> GetPresentDevices() = 0;
    // SetupDiEnumDeviceInfo; false after the last device.
    virtual bool EnumDevice(DeviceSet set, std::uint32_t index, DeviceInfo& device) = 0;
    // SetupDiGetDeviceRegistryPropertyA(SPDRP_HARDWAREID) with the grow loop:
    // a first call without buffer, then a zero-filled buffer of the reported size.
    virtual HardwareIds GetHardwareIds(DeviceSet set, const DeviceInfo& device) = 0;
    // SetupDiRemoveDevice.
    virtual bool RemoveDevice(DeviceSet set, const DeviceInfo& device) = 0;
    // SetupDiDestroyDeviceInfoList.
    virtual void DestroyDeviceSet(DeviceSet set) = 0;

    // UpdateDriverForPlugAndPlayDevicesA; `rebootRequired` receives its reboot flag.
    virtual bool UpdateDriver(WindowHandle parent, const std::string& hardwareId,
                              const std::string& infPath, std::uint32_t flags,
                              bool& rebootRequired) = 0;
    // SetupCopyOEMInfA(inf, mediaLocation, SPOST_PATH, SP_COPY_DELETESOURCE,
    // NULL, 0, NULL, NULL).
    virtual bool CopyOemInf(const std::string& infPath, const std::string& mediaLocation) = 0;

    // SetupQuerySourceListA.
    virtual std::optional<SourceList> QuerySourceList(std::uint32_t flags) = 0;
    // SetupSetSourceListA with the entries in their order.
    virtual bool SetSourceList(std::uint32_t flags, const std::vector<std::string>& entries) = 0;
    // SetupFreeSourceListA with the count the query returned.
    virtual void FreeSourceList(SourceList& list) = 0;

    // CM_Locate_DevNodeA(&node, NULL, CM_LOCATE_DEVNODE_NORMAL): the root of
    // the device tree, when the call returns CR_SUCCESS.
    virtual std::optional<DevNode> LocateRootDevNode() = 0;
    // CM_Reenumerate_DevNode; returns the CONFIGRET.
    virtual std::uint32_t ReenumerateDevNode(DevNode node, std::uint32_t flags) = 0;
};

}  // namespace platform
