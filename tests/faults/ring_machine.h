// The machine every fault-ring scenario starts from, and the user who
// answers its dialogs whatever the faults do to them.
#pragma once

#include <functional>
#include <string>

#include "sim/sim_machine.h"

namespace fault_ring {

// The places the ring watches, written out as the installer uses them.
inline constexpr const char* kStagedInf = "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAudioDevice = "PCI\\VEN_7E2D&DEV_0111\\4&1";
// An earlier driver generation's INF and its PNF, which every driver
// installation removes on purpose.
inline constexpr const char* kEarlierDriverInf = "C:\\WINDOWS\\INF\\OTHER\\QN5740.INF";
inline constexpr const char* kEarlierDriverPnf = "C:\\WINDOWS\\INF\\OTHER\\QN5740.PNF";

// The user can do nothing more with a dialog that stays up hidden, or that
// no button and not the close box can end: they end the program.
struct UserEndedTheProgram {};

// Windows XP started as "D:\W2KSETUP.EXE" from a complete media: the
// package, the driver packages, the DOS drivers, the hand-over's Setup.exe
// and an empty setup.ini. The Windows directory holds the old mixer, the
// mixer's settings, the INF database caches, an earlier driver's INF and
// another vendor's; the audio device is present after a network card, the
// mixer runs, and the driver's mixers appear once it is updated or
// re-enumerated.
class RingMachine : public sim::SimMachine {
public:
    RingMachine();

    void SetupIni(const std::string& section, const std::string& key, const std::string& value);
    void RemoveAudioDevice();
    // The package's previous version, with an uninstaller that runs 5 s.
    void RegisterPreviousPackage();
    // The sound format list and the CD player settings the preferences change.
    void AddPreferences();

    // What the user does in each dialog; the defaults press OK, or Yes and OK.
    std::function<void(sim::SimDialog&)> mainDialogChoice;
    std::function<void(sim::SimDialog&)> win2000DialogChoice;
    bool restartNow = true;
};

// The user's moves, as the simulation's user makes them.
using sim::ClickIfPossible;
using sim::PressOkOrCancel;

}  // namespace fault_ring
