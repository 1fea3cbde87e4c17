#include "logging/logged_devices.h"

namespace logging {

namespace {

constexpr std::uint32_t kErrorInvalidData = 13;  // ERROR_INVALID_DATA: no such property

// Entries as the log shows them: quoted, separated by commas.
void AddEntry(std::string& text, const char* entry, std::size_t length)
{
    if (!text.empty())
        text += ", ";
    text += '"';
    text.append(entry, length);
    text += '"';
}

// The entries of a list of zero-terminated strings, within the bytes given.
std::string MultiStringText(const std::string& data)
{
    std::string text;
    for (std::size_t start = 0; start < data.size() && data[start] != '\0';) {
        std::size_t end = data.find('\0', start);
        if (end == std::string::npos)
            end = data.size();
        AddEntry(text, data.data() + start, end - start);
        start = end + 1;
    }
    return text;
}

std::string ListText(const std::vector<std::string>& entries)
{
    std::string text;
    for (const std::string& entry : entries)
        AddEntry(text, entry.data(), entry.size());
    return text;
}

}  // namespace

std::optional<platform::DeviceSet> LoggedDevices::GetPresentDevices()
{
    auto set = m_inner.GetPresentDevices();
    if (Recording())
        m_log.Call(ErrorIf(!set),
                   "SetupDiGetClassDevsA(DIGCF_PRESENT | DIGCF_ALLCLASSES) = %s",
                   set ? "a device set" : "INVALID_HANDLE_VALUE");
    return set;
}

bool LoggedDevices::EnumDevice(platform::DeviceSet set, std::uint32_t index,
                               platform::DeviceInfo& device)
{
    const bool found = m_inner.EnumDevice(set, index, device);
    if (Recording())
        m_log.Call(ErrorIf(!found), "SetupDiEnumDeviceInfo(%u) = %s", index,
                   BoolText(found));
    return found;
}

platform::HardwareIds LoggedDevices::GetHardwareIds(platform::DeviceSet set,
                                                    const platform::DeviceInfo& device)
{
    platform::HardwareIds ids = m_inner.GetHardwareIds(set, device);
    if (!Recording())
        return ids;
    const bool read = ids.status == platform::HardwareIds::Status::Read;
    const std::uint32_t error = ids.status == platform::HardwareIds::Status::NoProperty
                                    ? kErrorInvalidData
                                    : ErrorIf(!read);
    m_log.Call(error, "SetupDiGetDeviceRegistryPropertyA(device %u, SPDRP_HARDWAREID) = %s",
               device.index, read ? MultiStringText(ids.data).c_str() : "FALSE");
    return ids;
}

bool LoggedDevices::RemoveDevice(platform::DeviceSet set, const platform::DeviceInfo& device)
{
    const bool removed = m_inner.RemoveDevice(set, device);
    if (Recording()) {
        m_log.Call(ErrorIf(!removed), "SetupDiRemoveDevice(device %u) = %s", device.index,
                   BoolText(removed));
        m_log.Outcome().Saw(removed ? Event::DeviceRemoved : Event::DeviceNotRemoved);
    }
    return removed;
}

void LoggedDevices::DestroyDeviceSet(platform::DeviceSet set)
{
    m_inner.DestroyDeviceSet(set);
    if (Recording())
        m_log.Call(0, "SetupDiDestroyDeviceInfoList()");
}

bool LoggedDevices::UpdateDriver(platform::WindowHandle parent, const std::string& hardwareId,
                                 const std::string& infPath, std::uint32_t flags,
                                 bool& rebootRequired)
{
    const bool updated = m_inner.UpdateDriver(parent, hardwareId, infPath, flags, rebootRequired);
    if (!Recording())
        return updated;
    m_log.Call(ErrorIf(!updated),
               "UpdateDriverForPlugAndPlayDevicesA(%s, \"%s\", \"%s\", %s) = %s%s",
               m_log.WindowText(parent), hardwareId.c_str(), infPath.c_str(),
               flags == platform::kInstallFlagForce ? "INSTALLFLAG_FORCE" : "other flags",
               BoolText(updated),
               !updated ? "" : rebootRequired ? ", restart needed" : ", no restart needed");
    if (updated)
        m_log.Outcome().Saw(Event::DriverUpdated);
    return updated;
}

bool LoggedDevices::CopyOemInf(const std::string& infPath, const std::string& mediaLocation)
{
    const bool copied = m_inner.CopyOemInf(infPath, mediaLocation);
    if (Recording()) {
        m_log.Call(ErrorIf(!copied),
                   "SetupCopyOEMInfA(\"%s\", \"%s\", SPOST_PATH, SP_COPY_DELETESOURCE) = %s",
                   infPath.c_str(), mediaLocation.c_str(), BoolText(copied));
        m_log.Outcome().Saw(copied ? Event::InfRegistered : Event::InfNotRegistered);
    }
    return copied;
}

std::optional<platform::SourceList> LoggedDevices::QuerySourceList(std::uint32_t flags)
{
    auto list = m_inner.QuerySourceList(flags);
    if (Recording())
        m_log.Call(ErrorIf(!list), "SetupQuerySourceListA(0x%X) = %s", flags,
                   list ? ("TRUE: " + ListText(list->entries)).c_str() : "FALSE");
    return list;
}

bool LoggedDevices::SetSourceList(std::uint32_t flags, const std::vector<std::string>& entries)
{
    const bool set = m_inner.SetSourceList(flags, entries);
    if (Recording())
        m_log.Call(ErrorIf(!set), "SetupSetSourceListA(0x%X, %s) = %s", flags,
                   ListText(entries).c_str(), BoolText(set));
    return set;
}

void LoggedDevices::FreeSourceList(platform::SourceList& list)
{
    const unsigned count = static_cast<unsigned>(list.entries.size());
    m_inner.FreeSourceList(list);
    if (Recording())
        m_log.Call(0, "SetupFreeSourceListA(list, %u)", count);
}

// The Configuration Manager answers with a CONFIGRET and leaves the
// thread's last error alone.
std::optional<platform::DevNode> LoggedDevices::LocateRootDevNode()
{
    auto root = m_inner.LocateRootDevNode();
    if (Recording())
        m_log.Call(0, "CM_Locate_DevNodeA(root) = %s",
                   root ? "CR_SUCCESS" : "not CR_SUCCESS");
    return root;
}

std::uint32_t LoggedDevices::ReenumerateDevNode(platform::DevNode node, std::uint32_t flags)
{
    const std::uint32_t result = m_inner.ReenumerateDevNode(node, flags);
    if (Recording())
        m_log.Call(0, "CM_Reenumerate_DevNode(root, 0x%X) = 0x%X", flags, result);
    return result;
}

}  // namespace logging
