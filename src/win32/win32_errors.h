#pragma once

#include "platform/errors.h"

namespace win32 {

class Win32Errors : public platform::Errors {
public:
    std::uint32_t LastError() override;
    void SetLastError(std::uint32_t code) override;
};

}  // namespace win32
