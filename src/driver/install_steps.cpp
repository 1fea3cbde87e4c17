#include "driver/install_steps.h"

DriverInstallSteps StepsOf(DriverInstallVariant variant)
{
    DriverInstallSteps steps{};
    switch (variant) {
    case DriverInstallVariant::DriverSwitch:
    case DriverInstallVariant::MainDialog:
        // The start-up closes the mixer first; the main dialog leaves it running.
        steps.closesMixerFirst = variant == DriverInstallVariant::DriverSwitch;
        steps.clearsMixerInitialize = true;
        steps.stagesDosDrivers = true;
        steps.choosesMediaFolder = true;
        steps.registersMixerReplacement = true;
        steps.triesDirectUpdate = true;
        break;
    case DriverInstallVariant::WebSilent:
        // The web set-up leaves the mixer's settings alone.
        steps.closesMixerFirst = true;
        steps.registersMixerReplacement = true;
        break;
    case DriverInstallVariant::Win2000Dialog:
        steps.hidesCallingDialog = true;
        steps.closesAudioApplications = true;
        steps.clearsMixerInitialize = true;
        steps.createsStagingWithParents = true;
        steps.patchesInfOptions = true;
        break;
    }
    return steps;
}
