#include "media_tool/plan/plan_machine.h"

#include "media_tool/plan/scripted_user.h"
#include "sim/program_templates.h"

namespace {

// The sound chip on a motherboard, listed from its most specific hardware ID
// to the plain one, as Plug and Play lists a PCI device.
constexpr const char* kAudioInstance = "PCI\\VEN_7E2D&DEV_0111&SUBSYS_57401849&REV_01\\4&1A2B3C&0&28";
const std::vector<std::string> kAudioHardwareIds = {
    "PCI\\VEN_7E2D&DEV_0111&SUBSYS_57401849&REV_01", "PCI\\VEN_7E2D&DEV_0111&SUBSYS_57401849",
    "PCI\\VEN_7E2D&DEV_0111&REV_01", "PCI\\VEN_7E2D&DEV_0111"};

}  // namespace

PlanMachine::PlanMachine(const MediaImage& media, const PlanSetup& setup)
    : installerPath(media.installerPath)
{
    version.info = setup.windows.version;
    files.AddFolder("C:\\Program Files");
    files.AddFolder(kSystemFolder);
    files.AddNodes(media.nodes);
    // The media is a CD: nothing on it can be written.
    files.readOnlyDrives = {"D:"};

    processes.programName = installerPath;
    processes.modulePath = installerPath;
    files.SetCurrent(MediaImage::kRoot);

    AddAudioDevice(setup.device);
    DefineProgramResources(dialogs);
    AnswerDialogs(dialogs, setup.answers);
}

void PlanMachine::AddAudioDevice(DeviceState state)
{
    if (state == DeviceState::Absent)
        return;
    devices.AddDevice(kAudioInstance, kAudioHardwareIds);
    devices.updateSucceeds = state != DeviceState::Fails;
    devices.updateNeedsReboot = state == DeviceState::Reboot;
    // Without its driver the device has no mixer; the new driver brings one.
    mixer.count = 0;
    devices.onUpdate = [this](const sim::SimDriverUpdate&) {
        mixer.ChangeAt(context.now + kMixersAppearAfter, 1);
    };
    devices.onReenumerate = [this] { mixer.ChangeAt(context.now + kMixersAppearAfter, 1); };
}
