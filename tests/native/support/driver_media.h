// What the driver tests put on a machine: a driver package in a media
// folder, the shipped INF, the answer to the restart prompt, and options
// for the INF patch.
#pragma once

#include <string>

#include "driver/inf_option_states.h"
#include "sim/sim_machine.h"

namespace driver_media {

// The two option lines of the driver INF, as the patch looks for them.
inline constexpr const char* kEnableLegacyLine =
    "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
inline constexpr const char* kJackConfigLine =
    "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";

inline constexpr const char* kStagingDir = "C:\\Program Files\\Quarnel\\WIN_ME\\";
inline constexpr const char* kStagedInf = "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF";
inline constexpr const char* kHardwareId = "PCI\\VEN_7E2D&DEV_0111";

// A driver INF like the shipped one: the option lines in the add-registry
// section, lines ended by `lineEnd`, the last one without an end when
// `lastLineEnded` is false.
std::string DriverInf(const std::string& lineEnd = "\r\n", bool lastLineEnded = true);

// A driver package in `folder` (with a trailing backslash): QNAUDIO.INF,
// the driver file, "Mixer.dat" and "W2KSetup.dat", each file naming `tag`.
void AddDriverPackage(sim::SimMachine& machine, const std::string& folder,
                      const std::string& tag);

// The user's answer to the next restart prompt: OK with "Yes" as preset,
// or "No" clicked first.
void AnswerRestartPrompt(sim::SimMachine& machine, bool restart);

// Check states for the INF patch, as the Windows 2000/XP dialog would give them.
class FixedInfOptions : public InfOptionStates {
public:
    bool legacyDisabled = false;
    bool soundCard = false;
    bool lineInRear = false;
    bool lineInCentre = false;
    bool micSubwoofer = false;

    bool LegacyDeviceDisabled() override { return legacyDisabled; }
    bool SoundCardChosen() override { return soundCard; }
    bool LineInSharesRear() override { return lineInRear; }
    bool LineInSharesCentre() override { return lineInCentre; }
    bool MicrophoneSharesSubwoofer() override { return micSubwoofer; }
};

}  // namespace driver_media
