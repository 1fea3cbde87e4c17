// The search for the audio device among the present devices.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

// Searches the present devices of all classes for a hardware-ID entry that
// contains `deviceId`. For the first matching device (in enumeration order)
// and its first matching entry: with a nonzero `removeFlag` the device is
// removed and the flag set to 1 on success or 0 on failure, and `deviceId`
// becomes the whole matching entry. Returns 1 when a device matched, else 0.
// The thread's last error is left as the search left it.
int FindPresentDevice(platform::Platform& os, std::string& deviceId, int& removeFlag);

// The walk over one device's hardware-ID property (`data`, as the property
// call returned it): the entries in order, up to the first empty one or the
// end of the data. Gives the first entry that contains `deviceId` (a
// case-sensitive substring search), if any.
std::optional<std::string> FindHardwareIdEntry(const std::string& data,
                                               const std::string& deviceId);
