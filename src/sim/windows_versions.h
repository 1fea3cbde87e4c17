// Windows versions as the simulated machines report them (the values Wine
// gives for each version it can play).
#pragma once

#include "platform/version.h"

namespace versions {

inline const platform::VersionInfo kWindows95{1, 4, 0, 0x040003B6};
inline const platform::VersionInfo kWindows98{1, 4, 10, 0x040A08AE};
inline const platform::VersionInfo kWindowsMe{1, 4, 90, 0x045A0BB8};
inline const platform::VersionInfo kWindowsNt4{2, 4, 0, 1381};
inline const platform::VersionInfo kWindows2000{2, 5, 0, 2195};
inline const platform::VersionInfo kWindowsXp{2, 5, 1, 2600};
inline const platform::VersionInfo kWindows7{2, 6, 1, 7601};

}  // namespace versions
