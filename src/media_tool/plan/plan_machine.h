// The machine a plan runs on: a standard Windows of the chosen version with
// C:\WINDOWS, the audio device as asked, the media loaded as drive D: (its
// bytes read from this machine only when the run needs them) and the
// scripted user.
#pragma once

#include <string>

#include "media_tool/reading/media_image.h"
#include "media_tool/plan/plan_setup.h"
#include "sim/sim_machine.h"

class PlanMachine : public sim::SimMachine {
public:
    PlanMachine(const MediaImage& media, const PlanSetup& setup);

    // The installer on the media, as it is started.
    std::string installerPath;
    // Where the programs that Windows starts after a logon begin.
    static constexpr const char* kSystemFolder = "C:\\WINDOWS\\system32";

    // The new driver's mixers appear this long after the driver is installed.
    static constexpr std::uint64_t kMixersAppearAfter = 4000;

private:
    void AddAudioDevice(DeviceState state);
};
