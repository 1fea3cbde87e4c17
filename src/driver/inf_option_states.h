// The driver options that the INF patching carries into the staged INF,
// read at the moment of patching. The Windows 2000/XP options dialog answers
// them from its controls.
#pragma once

class InfOptionStates {
public:
    virtual ~InfOptionStates() = default;
    virtual bool LegacyDeviceDisabled() = 0;       // "Disable legacy device (MIDI/GAME port)"
    virtual bool SoundCardChosen() = 0;            // "5740 in sound card ..."
    virtual bool LineInSharesRear() = 0;           // "Line-in and rear speaker output ..."
    virtual bool LineInSharesCentre() = 0;         // "Line-in and Center/Subwoofer ..."
    virtual bool MicrophoneSharesSubwoofer() = 0;  // "Microphone and Subwoofer ..."
};
