// Pauses on the calling thread.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Sleep.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // SleepEx with alertable FALSE.
    virtual void SleepEx(std::uint32_t milliseconds) = 0;
};

}  // namespace platform
