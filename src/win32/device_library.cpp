#include "win32/device_library.h"

#include "win32/wine_detection.h"

namespace win32 {

namespace {

template <typename Function>
void Resolve(HMODULE library, const char* name, Function& function)
{
    function = library ? reinterpret_cast<Function>(
                             reinterpret_cast<void*>(GetProcAddress(library, name)))
                       : nullptr;
}

DeviceLibrary Load()
{
    DeviceLibrary functions;
    HMODULE setupapi = LoadLibraryA("setupapi.dll");
    Resolve(setupapi, "SetupDiGetClassDevsA", functions.getClassDevs);
    Resolve(setupapi, "SetupDiEnumDeviceInfo", functions.enumDeviceInfo);
    Resolve(setupapi, "SetupDiGetDeviceRegistryPropertyA", functions.getDeviceRegistryProperty);
    Resolve(setupapi, "SetupDiRemoveDevice", functions.removeDevice);
    Resolve(setupapi, "SetupDiDestroyDeviceInfoList", functions.destroyDeviceInfoList);
    Resolve(setupapi, "SetupCopyOEMInfA", functions.copyOemInf);

    // Wine (8.0 at least) exports SetupQuerySourceListA and
    // SetupSetSourceListA as unimplemented stubs: calling one raises an
    // exception that ends the whole process. There the source list counts
    // as not available, like a missing function; on Windows they are used.
    if (!RunningUnderWine()) {
        Resolve(setupapi, "SetupQuerySourceListA", functions.querySourceList);
        Resolve(setupapi, "SetupSetSourceListA", functions.setSourceList);
        Resolve(setupapi, "SetupFreeSourceListA", functions.freeSourceList);
    }

    Resolve(LoadLibraryA("newdev.dll"), "UpdateDriverForPlugAndPlayDevicesA",
            functions.updateDriver);

    HMODULE cfgmgr32 = LoadLibraryA("cfgmgr32.dll");
    Resolve(cfgmgr32, "CM_Locate_DevNodeA", functions.locateDevNode);
    Resolve(cfgmgr32, "CM_Reenumerate_DevNode", functions.reenumerateDevNode);
    return functions;
}

}  // namespace

const DeviceLibrary& LoadDeviceLibrary()
{
    static const DeviceLibrary functions = Load();
    return functions;
}

}  // namespace win32
