#include "win32/win32_mixer.h"

#include <windows.h>
#include <mmsystem.h>

namespace win32 {

int Win32Mixer::DeviceCount()
{
    return static_cast<int>(mixerGetNumDevs());
}

}  // namespace win32
