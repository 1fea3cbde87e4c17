#include "scenarios.h"

#include "resources/resource.h"
#include "sim/windows_versions.h"

namespace fault_ring {

namespace {

using platform::RootKey;

// The device states a driver installation meets.
struct DeviceState {
    const char* name;
    std::function<void(RingMachine&)> apply;
};

const std::vector<DeviceState>& DirectUpdateStates()
{
    static const std::vector<DeviceState> states = {
        {"device present", [](RingMachine&) {}},
        {"device absent", [](RingMachine& m) { m.RemoveAudioDevice(); }},
        {"update failing", [](RingMachine& m) { m.devices.updateSucceeds = false; }},
        {"update asking for a reboot", [](RingMachine& m) { m.devices.updateNeedsReboot = true; }},
    };
    return states;
}

// The variants that always reinstall never ask for the update: for them
// only the device's presence makes a difference.
const std::vector<DeviceState>& ReinstallStates()
{
    static const std::vector<DeviceState> states(DirectUpdateStates().begin(),
                                                 DirectUpdateStates().begin() + 2);
    return states;
}

void OnWindows(RingMachine& machine, const platform::VersionInfo& version)
{
    machine.version.info = version;
}

void Option(RingMachine& machine, const char* key, int value)
{
    machine.SetupIni("InstallOption", key, std::to_string(value));
}

void ChooseDriverOnly(sim::SimDialog& dialog)
{
    ClickIfPossible(dialog, IDC_INSTALL_APPLICATIONS);
    PressOkOrCancel(dialog);
}

void ChooseApplicationsOnly(sim::SimDialog& dialog)
{
    ClickIfPossible(dialog, IDC_INSTALL_DRIVER);
    PressOkOrCancel(dialog);
}

void Cancel(sim::SimDialog& dialog)
{
    ClickIfPossible(dialog, platform::kIdCancel);
}

// The about box from the system menu, the icon painted while minimised and
// dragged, then Cancel.
void VisitAboutBoxAndIcon(sim::SimDialog& dialog)
{
    dialog.SystemCommand(IDM_ABOUTBOX);
    dialog.SystemCommand(platform::kSysCommandMinimise);
    dialog.Repaint();
    dialog.DragIcon();
    dialog.SystemCommand(platform::kSysCommandRestore);
    Cancel(dialog);
}

void ChooseSoundCardWithoutLegacyDevice(sim::SimDialog& dialog)
{
    ClickIfPossible(dialog, IDC_ON_SOUND_CARD);
    ClickIfPossible(dialog, IDC_DISABLE_LEGACY);
    PressOkOrCancel(dialog);
}

void AddHandOvers(std::vector<Scenario>& scenarios)
{
    scenarios.push_back({"hand-over on Windows 95", "",
                         [](RingMachine& m) { OnWindows(m, versions::kWindows95); }});
    scenarios.push_back({"hand-over on Windows 98 with /AP", "/AP",
                         [](RingMachine& m) { OnWindows(m, versions::kWindows98); }});
    scenarios.push_back({"hand-over on Windows ME with DriverOnly", "", [](RingMachine& m) {
                             OnWindows(m, versions::kWindowsMe);
                             Option(m, "DriverOnly", 1);
                         }});
    scenarios.push_back({"hand-over on Windows NT 4 with /DRIVER", "/DRIVER",
                         [](RingMachine& m) { OnWindows(m, versions::kWindowsNt4); }});
}

void AddPackageRows(std::vector<Scenario>& scenarios)
{
    scenarios.push_back({"/AP with a previous package", "/AP",
                         [](RingMachine& m) { m.RegisterPreviousPackage(); }});
    scenarios.push_back({"/AP without a previous package", "/AP", [](RingMachine&) {}});
}

void AddDriverVariants(std::vector<Scenario>& scenarios)
{
    for (const DeviceState& state : DirectUpdateStates()) {
        scenarios.push_back({std::string("/DRIVER, ") + state.name, "/DRIVER", state.apply});
        scenarios.push_back({std::string("main dialog, driver only, ") + state.name, "",
                             [state](RingMachine& m) {
                                 state.apply(m);
                                 m.mainDialogChoice = ChooseDriverOnly;
                             }});
    }
    scenarios.push_back({"DriverOnly=1, device present, restart later", "", [](RingMachine& m) {
                             Option(m, "DriverOnly", 1);
                             m.restartNow = false;
                         }});
    // "/S" with the command-line driver's steps, and with the silent web set-up's.
    for (const DeviceState& state : {DirectUpdateStates()[0], DirectUpdateStates()[2]})
        scenarios.push_back({std::string("/S, ") + state.name, "/S", state.apply});
    scenarios.push_back({"/S with WebSetup=2, device absent", "/S", [](RingMachine& m) {
                             m.RemoveAudioDevice();
                             Option(m, "WebSetup", 2);
                         }});
    for (const DeviceState& state : ReinstallStates()) {
        scenarios.push_back({std::string("silent web setup, ") + state.name, "",
                             [state](RingMachine& m) {
                                 state.apply(m);
                                 Option(m, "WebSetup", 2);
                             }});
        scenarios.push_back({std::string("Windows 2000/XP dialog, defaults, ") + state.name, "",
                             [state](RingMachine& m) {
                                 state.apply(m);
                                 Option(m, "WebSetup", 1);
                                 Option(m, "InstallWDMDriver", 1);
                             }});
    }
}

void AddDialogChoices(std::vector<Scenario>& scenarios)
{
    scenarios.push_back({"main dialog, both boxes, with a previous package", "",
                         [](RingMachine& m) { m.RegisterPreviousPackage(); }});
    scenarios.push_back({"main dialog, applications only", "",
                         [](RingMachine& m) { m.mainDialogChoice = ChooseApplicationsOnly; }});
    scenarios.push_back({"main dialog, about box and icon, then Cancel", "",
                         [](RingMachine& m) { m.mainDialogChoice = VisitAboutBoxAndIcon; }});
    scenarios.push_back({"main dialog without the package on the media", "", [](RingMachine& m) {
                             m.files.Erase("D:\\W2K-ME\\app\\Setup.exe");
                         }});
    scenarios.push_back({"Windows 2000/XP dialog, sound card, legacy device disabled", "",
                         [](RingMachine& m) {
                             Option(m, "WebSetup", 1);
                             Option(m, "InstallWDMDriver", 1);
                             m.win2000DialogChoice = ChooseSoundCardWithoutLegacyDevice;
                         }});
    scenarios.push_back({"Windows 2000/XP dialog, Cancel", "", [](RingMachine& m) {
                             Option(m, "WebSetup", 1);
                             Option(m, "InstallWDMDriver", 1);
                             m.win2000DialogChoice = Cancel;
                         }});
}

void AddStartupRows(std::vector<Scenario>& scenarios)
{
    scenarios.push_back({"WebSetup=1 without the WDM driver", "",
                         [](RingMachine& m) { Option(m, "WebSetup", 1); }});
    scenarios.push_back({"preferences", "", [](RingMachine& m) {
                             m.AddPreferences();
                             Option(m, "WebSetup", 1);
                         }});
    scenarios.push_back({"-ReplaceMixer", "-ReplaceMixer", [](RingMachine& m) {
                             m.files.AddFile("C:\\WINDOWS\\W2KSetup.exe", "installer");
                             m.files.AddFile("C:\\WINDOWS\\Mixer.dat", "new mixer");
                             m.processes.programName = "C:\\WINDOWS\\W2KSetup.exe";
                             m.processes.modulePath = "C:\\WINDOWS\\W2KSetup.exe";
                             m.registry.PutString(RootKey::LocalMachine, kRunKey,
                                                  "Replace Quarnel Mixer",
                                                  "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer");
                             m.AddPreferences();
                         }});
}

}  // namespace

std::vector<Scenario> AllScenarios()
{
    std::vector<Scenario> scenarios;
    AddHandOvers(scenarios);
    AddPackageRows(scenarios);
    AddDriverVariants(scenarios);
    AddDialogChoices(scenarios);
    AddStartupRows(scenarios);
    return scenarios;
}

}  // namespace fault_ring
