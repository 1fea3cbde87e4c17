// The calling thread's last-error code.
#pragma once

#include <cstdint>

namespace platform {

class Errors {
public:
    virtual ~Errors() = default;
    virtual std::uint32_t LastError() = 0;           // GetLastError
    virtual void SetLastError(std::uint32_t code) = 0;  // SetLastError
};

}  // namespace platform
