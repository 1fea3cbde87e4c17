#include "driver/install_steps.h"

DriverInstallSteps StepsOf(DriverInstallVariant variant)
{
    switch (variant) {
    case DriverInstallVariant::DriverSwitch:
    case DriverInstallVariant::MainDialog:
        return {false, true, false, true, true, false, true, true};
    case DriverInstallVariant::WebSilent:
        // The web set-up puts the package beside the installer and leaves the
        // mixer's settings alone.
        return {false, false, false, false, false, false, true, false};
    case DriverInstallVariant::Win2000Dialog:
        return {true, true, true, false, false, true, false, false};
    }
    return {};
}
