// Removal of the INF files that earlier generations of the driver left in the
// Windows INF folder, each with its precompiled PNF file.
#pragma once

#include "platform/platform.h"

// Scans "INF\OTHER\*.INF" (or, when that finds nothing, "INF\OEM*.INF"), then
// "INF\QN*.INF" and "INF\oem*.INF" of the Windows directory, and deletes every
// INF whose [Strings] entry "SSC-Legacy.DeviceDesc" or "WDM_QNPCI.Wave.szPname"
// begins with one of the earlier drivers' names, together with its PNF.
void RemoveLegacyInfFiles(platform::Platform& os);
