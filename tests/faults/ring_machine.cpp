#include "ring_machine.h"

#include "resources/resource.h"
#include "support/driver_media.h"
#include "sim/program_templates.h"

namespace fault_ring {

namespace {

using platform::RootKey;

// A short driver INF with both option lines: every byte of it is read
// through a call of its own when the options are patched in.
std::string DriverInf()
{
    return std::string("[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=MEDIA\r\n\r\n") +
           "[Quarnel]\r\n%QNAUDIO.DeviceDesc%=QNAUDIO, PCI\\VEN_7E2D&DEV_0111\r\n\r\n" +
           "[QNAUDIO.AddReg]\r\n" + driver_media::kEnableLegacyLine + "\r\n" +
           driver_media::kJackConfigLine + "\r\n";
}

void AddDriverPackage(RingMachine& machine, const std::string& folder)
{
    machine.files.AddFile(folder + "QNAUDIO.INF", DriverInf());
    machine.files.AddFile(folder + "qnaudio.sys", "new driver");
    machine.files.AddFile(folder + "Mixer.dat", "new mixer");
    machine.files.AddFile(folder + "W2KSetup.dat", "installer");
}

// After the user's choice a dialog can still be up, when its end failed:
// the user closes it with its close box, if they can see it at all.
void EndIfStillUp(sim::SimDialog& dialog)
{
    if (dialog.Ended())
        return;
    if (!dialog.Visible())
        throw UserEndedTheProgram{};
    dialog.CloseBox();
    if (!dialog.Ended())
        throw UserEndedTheProgram{};
}

}  // namespace

RingMachine::RingMachine()
{
    DefineProgramResources(dialogs);
    mainDialogChoice = PressOkOrCancel;
    win2000DialogChoice = PressOkOrCancel;
    dialogs.Always(IDD_SETUP_DIALOG, [this](sim::SimDialog& dialog) {
        mainDialogChoice(dialog);
        EndIfStillUp(dialog);
    });
    dialogs.Always(IDD_WIN2000_SETUP, [this](sim::SimDialog& dialog) {
        win2000DialogChoice(dialog);
        EndIfStillUp(dialog);
    });
    dialogs.Always(IDD_ABOUTBOX, [](sim::SimDialog& dialog) {
        PressOkOrCancel(dialog);
        EndIfStillUp(dialog);
    });
    dialogs.Always(IDD_RESTART, [this](sim::SimDialog& dialog) {
        if (!restartNow)
            ClickIfPossible(dialog, IDC_RESTART_NO);
        ClickIfPossible(dialog, platform::kIdOk);
        EndIfStillUp(dialog);
    });

    // The media.
    files.AddFile("D:\\W2KSETUP.EXE", "installer");
    processes.programName = "D:\\W2KSETUP.EXE";
    processes.modulePath = "D:\\W2KSETUP.EXE";
    files.AddFile("D:\\setup.ini", "[InstallOption]\r\n");
    files.AddFile("D:\\Setup.exe", "media setup");
    files.AddFile("D:\\W2K-ME\\app\\Setup.exe", "package setup");
    processes.Define("D:\\W2K-ME\\app\\Setup.exe", {60000, 1000, true, 0, {}});
    files.AddFile("D:\\Dosdrv\\QNSB.COM", "dos driver");
    files.AddFile("D:\\Dosdrv\\DOSAPP\\QNMIX.EXE", "dos mixer");
    AddDriverPackage(*this, "D:\\WinXP\\drv\\");
    AddDriverPackage(*this, "D:\\");  // the web set-ups take it from beside the installer

    // The Windows directory.
    files.AddFile("C:\\WINDOWS\\Mixer.exe", "old mixer");
    files.AddFile("C:\\WINDOWS\\mixerdef.ini", "[RUNTIME]\r\nInitialize=1\r\n");
    files.AddFile("C:\\WINDOWS\\INF\\Drvdata.bin", "database");
    files.AddFile("C:\\WINDOWS\\INF\\Drvidx.bin", "index");
    files.AddFile(kEarlierDriverInf,
                  "[Strings]\r\nSSC-Legacy.DeviceDesc=\"QNI5740 PCI Audio\"\r\n");
    files.AddFile(kEarlierDriverPnf, "precompiled");
    files.AddFile("C:\\WINDOWS\\INF\\oem1.inf",
                  "[Strings]\r\nSSC-Legacy.DeviceDesc=\"Other Audio\"\r\n");
    files.AddFile("C:\\WINDOWS\\INF\\oem1.PNF", "precompiled");

    registry.PutString(RootKey::LocalMachine, kRunKey, "PCI Audio Applications",
                       "C:\\Program Files\\PCI Audio\\apps.exe");
    registry.PutString(RootKey::LocalMachine, kRunKey, "Other Program", "C:\\other.exe");

    devices.AddDevice("PCI\\VEN_10EC&DEV_8139\\3&1", {"PCI\\VEN_10EC&DEV_8139"});
    devices.AddDevice(kAudioDevice,
                      {"PCI\\VEN_7E2D&DEV_0111&SUBSYS_57401234", "PCI\\VEN_7E2D&DEV_0111"});
    mixer.count = 1;
    devices.onUpdate = [this](const sim::SimDriverUpdate&) { mixer.count = 2; };
    devices.onReenumerate = [this] {
        if (devices.Device(kAudioDevice))
            mixer.count = 2;
    };

    desktop.AddWindow("Mixer");
    desktop.AddWindow("CD Player");
}

void RingMachine::SetupIni(const std::string& section, const std::string& key,
                           const std::string& value)
{
    profiles.Put("D:\\setup.ini", section, key, value);
}

void RingMachine::RemoveAudioDevice()
{
    std::vector<sim::SimDevice> others;
    for (const sim::SimDevice& device : devices.devices) {
        if (device.instanceId != kAudioDevice)
            others.push_back(device);
    }
    devices.devices = others;
}

void RingMachine::RegisterPreviousPackage()
{
    const std::string uninstaller = "C:\\Program Files\\PCI Audio\\UNINST.EXE";
    files.AddFile(uninstaller, "uninstaller");
    processes.Define(uninstaller, {5000, 500, true, 0, {}});
    registry.PutString(RootKey::LocalMachine,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                       "PCI Audio Applications",
                       "UninstallString", "\"" + uninstaller + "\" -f");
}

void RingMachine::AddPreferences()
{
    registry.PutString(RootKey::CurrentUser, "Software\\Microsoft\\Multimedia\\Audio",
                       "SystemFormats", "Radio Quality,CD Quality,Telephone Quality,");
    registry.PutString(RootKey::CurrentUser, "Software\\Microsoft\\Multimedia\\Audio",
                       "DefaultFormat", "Radio Quality");
    registry.CreateKey(RootKey::Users, ".Default\\Software\\Microsoft\\Multimedia\\Audio");
    files.AddFile("C:\\WINDOWS\\QNCDPLAY.INI", "[CD PLAYER]\r\nUsingCDDA=0\r\n");
    SetupIni("Default", "UsingCDDA", "1");
}

}  // namespace fault_ring
