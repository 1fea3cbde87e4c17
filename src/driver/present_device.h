// The search for the audio device among the present devices.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

// Searches the present devices of all classes for a hardware-ID entry that
// contains the device's hardware ID. Returns the whole matching entry of the
// first matching device (in enumeration order), however long: the update is
// aimed at exactly that ID. The thread's last error is left as the search
// left it.
std::optional<std::string> FindPresentDevice(platform::Platform& os);

// The same search; the first matching device is removed. Whether the removal
// succeeds is not looked at: the reinstall goes on either way.
void RemovePresentDevice(platform::Platform& os);

// The walk over one device's hardware-ID property (`data`, as the property
// call returned it): the entries in order, up to the first empty one or the
// end of the data. Gives the first entry that contains `deviceId` (a
// case-sensitive substring search), if any.
std::optional<std::string> FindHardwareIdEntry(const std::string& data,
                                               const std::string& deviceId);
