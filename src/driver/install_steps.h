// Which steps each driver installation variant runs, the caller's included.
#pragma once

#include "driver/driver_installation.h"

struct DriverInstallSteps {
    // The caller's steps before the installation.
    bool hidesCallingDialog = false;  // the dialog stays, hidden, for the INF patch to read
    bool closesMixerFirst = false;  // the "Mixer" window, without a pause
    // The installation's own steps.
    bool closesAudioApplications = false;  // the players and the mixer, with their pauses
    bool clearsMixerInitialize = false;  // "mixerdef.ini" [RUNTIME] Initialize=0
    bool createsStagingWithParents = false;  // the staging folder together with its parents
    bool stagesDosDrivers = false;  // the DOS folders and their files
    bool choosesMediaFolder = false;  // an OS folder of the media, or SourceDir itself
    bool patchesInfOptions = false;  // staged INFs carry the options of the dialog
    bool registersMixerReplacement = false;  // "Mixer.dat", "W2KSetup.exe" and the Run value
    bool triesDirectUpdate = false;  // update the present device before a reinstall
};

DriverInstallSteps StepsOf(DriverInstallVariant variant);
