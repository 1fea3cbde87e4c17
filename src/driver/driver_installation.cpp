#include "driver/driver_installation.h"

void RunDriverInstallation(platform::Platform&, const DriverInstallRequest&)
{
    // The driver installation comes with the driver engine; until then the
    // run ends here.
}
