// The Plug-and-Play update of the staged driver and the wait for its mixers,
// all on the virtual clock.
#include <gtest/gtest.h>

#include "driver/pnp_update.h"
#include "support/driver_media.h"
#include "support/setup_machine.h"

namespace {

using driver_media::kHardwareId;
using driver_media::kStagedInf;
using driver_media::kStagingDir;

class PnpUpdate : public ::testing::Test {
protected:
    SetupMachine machine;

    PnpUpdate() {
        machine.files.AddFile(kStagedInf, driver_media::DriverInf());
        machine.files.AddFile(std::string(kStagingDir) + "qnaudio.sys", "driver");
        machine.files.AddFile("C:\\WINDOWS\\INF\\Drvdata.bin", "db", platform::kAttributeReadOnly);
        machine.files.AddFile("C:\\WINDOWS\\INF\\Drvidx.bin", "index");
    }
    void AddAudioDevice() {
        machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\4&1",
                                  {"PCI\\VEN_7E2D&DEV_0111&SUBSYS_57401234", kHardwareId});
    }
    // The virtual time at which the restart prompt is due: the update's end
    // and the pause it asks for. The pause and the prompt are the caller's.
    std::uint64_t PromptDueAt(const PnpUpdateResult& result) {
        EXPECT_TRUE(machine.dialogs.Shown().empty()) << "the update showed a dialog itself";
        return machine.now() + result.pauseBeforePrompt;
    }
    // The update's own pauses, then the one it asks for before the prompt.
    std::vector<std::uint32_t> Pauses(const PnpUpdateResult& result) {
        std::vector<std::uint32_t> pauses = machine.clock.Pauses();
        pauses.push_back(result.pauseBeforePrompt);
        return pauses;
    }
    static std::vector<std::uint32_t> FullWait() {
        std::vector<std::uint32_t> pauses(10, 3000);
        pauses.push_back(5000);
        return pauses;
    }
};

TEST_F(PnpUpdate, DirectUpdateWaitsForTheNewMixers)
{
    AddAudioDevice();
    machine.mixer.count = 1;
    machine.mixer.ChangeAt(6000, 2);
    const PnpUpdateResult result = InstallStagedDriver(machine.os());

    ASSERT_EQ(machine.devices.updates.size(), 1u);
    const sim::SimDriverUpdate& update = machine.devices.updates[0];
    EXPECT_EQ(update.parent, sim::SimDesktop::kDesktop);
    EXPECT_EQ(update.hardwareId, "PCI\\VEN_7E2D&DEV_0111&SUBSYS_57401234");
    EXPECT_EQ(update.infPath, kStagedInf);
    EXPECT_EQ(update.flags, 1u);
    // The baseline is taken before the search; then polls at 0, 3 and 6 s.
    EXPECT_EQ(machine.log().Sequence({"mixerGetNumDevs", "SetupDiGetClassDevsA"}).front(),
              "mixerGetNumDevs 1");
    EXPECT_EQ(Pauses(result), (std::vector<std::uint32_t>{3000, 3000, 5000}));
    EXPECT_EQ(PromptDueAt(result), 11000u);
    EXPECT_TRUE(result.newMixersCame);
    EXPECT_FALSE(result.windowsAsksRestart);
    // A direct update touches neither the device node nor the system's lists.
    EXPECT_TRUE(machine.log().Details("SetupDiRemoveDevice").empty());
    EXPECT_TRUE(machine.devices.oemInfs.empty());
    EXPECT_EQ(machine.log().Count("SetupSetSourceListA"), 0u);
    EXPECT_TRUE(machine.files.Exists("C:\\WINDOWS\\INF\\Drvidx.bin"));
    EXPECT_TRUE(machine.files.Exists(kStagedInf));
}

TEST_F(PnpUpdate, ARequiredRebootMakesThePromptDueAfterTenSecondsWithoutPolling)
{
    AddAudioDevice();
    machine.devices.updateNeedsReboot = true;
    const PnpUpdateResult result = InstallStagedDriver(machine.os());
    EXPECT_EQ(Pauses(result), std::vector<std::uint32_t>{10000});
    EXPECT_EQ(PromptDueAt(result), 10000u);
    EXPECT_TRUE(result.windowsAsksRestart);
    EXPECT_EQ(machine.log().Count("mixerGetNumDevs"), 1u);  // the baseline only
}

TEST_F(PnpUpdate, ACountAlreadyAboveTheBaselineCostsOnlyTheFinalPause)
{
    AddAudioDevice();
    machine.mixer.count = 2;
    machine.devices.onUpdate = [this](const sim::SimDriverUpdate&) { machine.mixer.count = 4; };
    const PnpUpdateResult result = InstallStagedDriver(machine.os());
    EXPECT_EQ(Pauses(result), std::vector<std::uint32_t>{5000});
    EXPECT_EQ(PromptDueAt(result), 5000u);
}

TEST_F(PnpUpdate, NoDeviceMeansNoUpdateAndTheFullWaitOfTheReinstall)
{
    const PnpUpdateResult result = InstallStagedDriver(machine.os());
    EXPECT_TRUE(machine.devices.updates.empty());
    EXPECT_EQ(machine.devices.oemInfs.size(), 1u);
    EXPECT_EQ(machine.log().Count("mixerGetNumDevs"), 12u);  // two baselines, ten polls
    EXPECT_EQ(Pauses(result), FullWait());
    EXPECT_EQ(PromptDueAt(result), 35000u);
    EXPECT_TRUE(result.infHandedOver);
    EXPECT_FALSE(result.newMixersCame);
}

TEST_F(PnpUpdate, AFailedUpdateFallsBackToTheReinstall)
{
    AddAudioDevice();
    machine.devices.updateSucceeds = false;
    InstallStagedDriver(machine.os());
    EXPECT_EQ(machine.devices.updates.size(), 1u);
    EXPECT_EQ(machine.log().Details("SetupDiRemoveDevice"),
              std::vector<std::string>{"PCI\\VEN_7E2D&DEV_0111\\4&1"});
    EXPECT_EQ(machine.devices.oemInfs.size(), 1u);
}

TEST_F(PnpUpdate, ForcedReinstallRunsItsStepsInOrder)
{
    AddAudioDevice();
    machine.devices.sourceList = {"D:\\", "E:\\I386"};
    const PnpUpdateResult result = ForceReinstall(machine.os());

    auto steps = machine.log().Sequence(
        {"SetupDiRemoveDevice", "DeleteFileA", "SetupCopyOEMInfA", "SetupQuerySourceListA",
         "SetupSetSourceListA", "mixerGetNumDevs", "CM_Locate_DevNodeA",
         "CM_Reenumerate_DevNode", "SetupFreeSourceListA"});
    steps.resize(10);
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "SetupDiRemoveDevice PCI\\VEN_7E2D&DEV_0111\\4&1",
                         "DeleteFileA C:\\WINDOWS\\INF\\Drvdata.bin",
                         "DeleteFileA C:\\WINDOWS\\INF\\Drvidx.bin",
                         "SetupCopyOEMInfA " + std::string(kStagedInf) +
                             " C:\\Program Files\\Quarnel\\WIN_ME",
                         "SetupQuerySourceListA 0x30", "SetupSetSourceListA 0x30 count=3",
                         "mixerGetNumDevs 0", "CM_Locate_DevNodeA root",
                         "CM_Reenumerate_DevNode 0x0", "SetupFreeSourceListA count=2"}));
    EXPECT_EQ(machine.devices.sourceList,
              (std::vector<std::string>{"D:\\", "E:\\I386", kStagingDir}));
    EXPECT_FALSE(machine.files.Exists("C:\\WINDOWS\\INF\\Drvdata.bin"));
    // The OEM copy takes the staged INF away; the driver files stay as its source.
    EXPECT_FALSE(machine.files.Exists(kStagedInf));
    EXPECT_TRUE(machine.files.Exists(std::string(kStagingDir) + "qnaudio.sys"));
    EXPECT_EQ(machine.files.Read(machine.devices.oemInfs.at(0)), driver_media::DriverInf());
    EXPECT_EQ(machine.devices.sourceListsFreed, 1);
    EXPECT_EQ(PromptDueAt(result), 35000u);
}

TEST_F(PnpUpdate, TheReinstallBaselineNoLongerCountsTheRemovedDevice)
{
    AddAudioDevice();
    machine.mixer.count = 2;
    machine.devices.onRemove = [this](const sim::SimDevice&) { machine.mixer.count = 0; };
    machine.devices.onReenumerate = [this] { machine.mixer.count = 2; };
    const PnpUpdateResult result = ForceReinstall(machine.os());
    EXPECT_EQ(Pauses(result), std::vector<std::uint32_t>{5000});
    EXPECT_TRUE(result.newMixersCame);
}

TEST_F(PnpUpdate, EachReinstallAppendsTheStagingFolderOnceMore)
{
    ForceReinstall(machine.os());
    ForceReinstall(machine.os());
    EXPECT_EQ(machine.devices.sourceList,
              (std::vector<std::string>{"D:\\", kStagingDir, kStagingDir}));
}

TEST_F(PnpUpdate, ALongSourceListIsKeptWholeWithTheStagingFolderAfterIt)
{
    std::vector<std::string> longList;
    for (int i = 0; i < 150; ++i)
        longList.push_back("\\\\server\\share" + std::to_string(i));
    machine.devices.sourceList = longList;
    ForceReinstall(machine.os());
    longList.push_back(kStagingDir);
    EXPECT_EQ(machine.devices.sourceList, longList);
    EXPECT_EQ(machine.log().Details("SetupSetSourceListA"),
              std::vector<std::string>{"0x30 count=151"});
}

TEST_F(PnpUpdate, AnUnreadableSourceListIsLeftAloneAndTheReinstallGoesOn)
{
    machine.devices.sourceListAvailable = false;
    machine.devices.sourceList = {"D:\\", "E:\\I386"};
    const PnpUpdateResult result = ForceReinstall(machine.os());
    EXPECT_EQ(machine.log().Count("SetupSetSourceListA"), 0u);
    EXPECT_EQ(machine.log().Count("SetupFreeSourceListA"), 0u);
    EXPECT_EQ(machine.devices.sourceList, (std::vector<std::string>{"D:\\", "E:\\I386"}));
    EXPECT_EQ(machine.devices.reenumerations, 1);
    EXPECT_EQ(PromptDueAt(result), 35000u);
}

TEST_F(PnpUpdate, FailuresOnTheWayChangeNothingInTheSequence)
{
    machine.devices.rootLocates = false;
    machine.faults.Fail("SetupCopyOEMInfA");
    machine.faults.FailAlways("DeleteFileA");
    const PnpUpdateResult result = ForceReinstall(machine.os());
    EXPECT_EQ(machine.devices.reenumerations, 0);
    EXPECT_TRUE(machine.files.Exists(kStagedInf));
    EXPECT_EQ(machine.devices.sourceList.back(), kStagingDir);
    EXPECT_EQ(Pauses(result), FullWait());
    EXPECT_EQ(PromptDueAt(result), 35000u);
    EXPECT_FALSE(result.infHandedOver);  // Plug-and-Play has nothing new to install
}

TEST_F(PnpUpdate, TheWaitCountsOnlyPollsWithoutAnIncrease)
{
    // Signed counts: a count that drops below the baseline is no increase.
    machine.mixer.count = 3;
    machine.mixer.ChangeAt(3000, 1);
    machine.mixer.ChangeAt(27000, 4);
    EXPECT_TRUE(WaitForNewMixers(machine.os(), 3));
    // The tenth poll, at 27 s, is the first to find more mixers.
    EXPECT_EQ(machine.clock.Pauses(), std::vector<std::uint32_t>(9, 3000));
    EXPECT_EQ(machine.log().Count("mixerGetNumDevs"), 10u);
    EXPECT_EQ(machine.now(), 27000u);
}

}  // namespace
