// The number of multimedia mixer devices.
#pragma once

namespace platform {

class Mixer {
public:
    virtual ~Mixer() = default;
    // mixerGetNumDevs.
    virtual int DeviceCount() = 0;
};

}  // namespace platform
