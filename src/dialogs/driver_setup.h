// A driver installation as its callers run it: the start-up for "/DRIVER",
// "DriverOnly" and the silent web set-up, and the two option dialogs.
#pragma once

#include <functional>

#include "dialogs/driver_installer.h"

// Shows "The driver will be installed now. ..." (owned by the calling
// dialog, if any), runs the caller's steps of the variant (hiding the
// dialog, closing the mixer), puts up the wait cursor and runs the
// installation; then shows the restart prompt when it is due, or "Can not
// find installation files." when nothing could be staged. The wait
// cursor comes down last: `beforeCursorEnds` is the caller's last step while
// it is still up (the Windows 2000/XP dialog ends itself there).
void RunDriverSetup(platform::Platform& os, const DriverInstallRequest& request,
                    const DriverInstaller& install = RunDriverInstallation,
                    const std::function<void()>& beforeCursorEnds = nullptr);
