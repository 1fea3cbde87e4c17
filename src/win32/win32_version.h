#pragma once

#include "platform/version.h"

namespace win32 {

class Win32Version : public platform::Version {
public:
    platform::VersionInfo Query() override;
};

}  // namespace win32
