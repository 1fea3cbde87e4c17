// The device-installation functions of Windows 2000 and later, found at run
// time so that the program still loads on Windows 95, 98, ME and NT 4, which
// lack setupapi's device functions, newdev and cfgmgr32. A function that is
// not there is a null pointer.
#pragma once

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

namespace win32 {

// newdev.h declares this for Windows 2000 targets only.
using UpdateDriverForPlugAndPlayDevicesAFn = BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);

struct DeviceLibrary {
    decltype(&SetupDiGetClassDevsA) getClassDevs = nullptr;
    decltype(&SetupDiEnumDeviceInfo) enumDeviceInfo = nullptr;
    decltype(&SetupDiGetDeviceRegistryPropertyA) getDeviceRegistryProperty = nullptr;
    decltype(&SetupDiRemoveDevice) removeDevice = nullptr;
    decltype(&SetupDiDestroyDeviceInfoList) destroyDeviceInfoList = nullptr;
    decltype(&SetupCopyOEMInfA) copyOemInf = nullptr;
    decltype(&SetupQuerySourceListA) querySourceList = nullptr;
    decltype(&SetupSetSourceListA) setSourceList = nullptr;
    decltype(&SetupFreeSourceListA) freeSourceList = nullptr;
    UpdateDriverForPlugAndPlayDevicesAFn updateDriver = nullptr;
    decltype(&CM_Locate_DevNodeA) locateDevNode = nullptr;
    decltype(&CM_Reenumerate_DevNode) reenumerateDevNode = nullptr;
};

// Loads setupapi.dll, newdev.dll and cfgmgr32.dll on the first call and
// resolves the functions once; the libraries stay loaded for the life of the
// process. Under Wine the source-list functions are left out (see there).
const DeviceLibrary& LoadDeviceLibrary();

}  // namespace win32
