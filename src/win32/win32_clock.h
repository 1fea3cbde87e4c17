#pragma once

#include "platform/clock.h"

namespace win32 {

class Win32Clock : public platform::Clock {
public:
    void Sleep(std::uint32_t milliseconds) override;
    void SleepEx(std::uint32_t milliseconds) override;
};

}  // namespace win32
