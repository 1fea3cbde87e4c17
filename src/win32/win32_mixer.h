#pragma once

#include "platform/mixer.h"

namespace win32 {

class Win32Mixer : public platform::Mixer {
public:
    int DeviceCount() override;
};

}  // namespace win32
