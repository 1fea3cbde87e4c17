// Which steps each driver installation variant runs.
#pragma once

#include "driver/driver_installation.h"

struct DriverInstallSteps {
    bool closesAudioApplications;   // the players and the mixer, with their pauses
    bool clearsMixerInitialize;     // "mixerdef.ini" [RUNTIME] Initialize=0
    bool createsStagingWithParents; // the staging folder together with its parents
    bool stagesDosDrivers;          // the DOS folders and their files
    bool choosesMediaFolder;        // an OS folder of the media, or SourceDir itself
    bool patchesInfOptions;         // staged INFs carry the options of the dialog
    bool registersMixerReplacement; // "Mixer.dat", "W2KSetup.exe" and the Run value
    bool triesDirectUpdate;         // update the present device before a reinstall
};

DriverInstallSteps StepsOf(DriverInstallVariant variant);
