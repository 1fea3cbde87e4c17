// The search for the audio device among the present devices.
#include <gtest/gtest.h>

#include "driver/present_device.h"
#include "support/driver_media.h"
#include "support/setup_machine.h"

namespace {

using driver_media::kHardwareId;

class PresentDevice : public ::testing::Test {
protected:
    SetupMachine machine;

    std::optional<std::string> Find() { return FindPresentDevice(machine.os()); }
    std::vector<std::string> Removals() { return machine.log().Details("SetupDiRemoveDevice"); }
};

TEST_F(PresentDevice, TheSecondEntryCanMatchAndIsTheOneReturned)
{
    machine.devices.AddDevice("PCI\\VEN_8086&DEV_2415\\3&1", {"PCI\\VEN_8086&DEV_2415"});
    machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\3&2",
                              {"PCI\\VEN_7E2D&DEV_0112&SUBSYS_0", "PCI\\VEN_7E2D&DEV_0111&REV_02",
                               "PCI\\VEN_7E2D&DEV_0111"});
    EXPECT_EQ(Find(), "PCI\\VEN_7E2D&DEV_0111&REV_02");
    EXPECT_TRUE(Removals().empty());
    EXPECT_EQ(machine.devices.OpenDeviceSets(), 0u);
}

TEST_F(PresentDevice, OnlyTheFirstOfTwoMatchingDevicesIsRemoved)
{
    machine.devices.AddDevice("FIRST", {"PCI\\VEN_7E2D&DEV_0111&SUBSYS_00011234"});
    machine.devices.AddDevice("SECOND", {"PCI\\VEN_7E2D&DEV_0111"});
    RemovePresentDevice(machine.os());
    EXPECT_EQ(Removals(), std::vector<std::string>{"FIRST"});
    EXPECT_FALSE(machine.devices.Device("FIRST")->present);
    EXPECT_TRUE(machine.devices.Device("SECOND")->present);
    // The search stops at the match.
    EXPECT_EQ(machine.log().Count("SetupDiGetDeviceRegistryPropertyA"), 1u);
}

TEST_F(PresentDevice, DevicesWithoutOrWithUnreadableHardwareIdsAreSkipped)
{
    machine.devices.AddDevice("ISA\\LEGACY", {});
    machine.devices.devices[0].hasHardwareIds = false;
    machine.devices.AddDevice("AUDIO", {kHardwareId});
    EXPECT_EQ(Find(), kHardwareId);

    SetupMachine failing;
    failing.devices.AddDevice("BROKEN", {"PCI\\VEN_1"});
    failing.devices.AddDevice("AUDIO", {kHardwareId});
    failing.faults.Fail("SetupDiGetDeviceRegistryPropertyA", "BROKEN");
    EXPECT_EQ(FindPresentDevice(failing.os()), kHardwareId);
    failing.faults.Fail("SetupDiGetDeviceRegistryPropertyA", "BROKEN");
    RemovePresentDevice(failing.os());
    EXPECT_FALSE(failing.devices.Device("AUDIO")->present);
    EXPECT_TRUE(failing.devices.Device("BROKEN")->present);
    EXPECT_EQ(failing.devices.OpenDeviceSets(), 0u);
}

TEST_F(PresentDevice, NoDeviceSetOrNoMatchFindsNothing)
{
    machine.faults.Fail("SetupDiGetClassDevsA");
    EXPECT_EQ(Find(), std::nullopt);
    EXPECT_EQ(machine.log().Count("SetupDiDestroyDeviceInfoList"), 0u);

    SetupMachine other;
    other.devices.AddDevice("NET", {"PCI\\VEN_10EC&DEV_8139", "PCI\\VEN_10EC"});
    other.devices.AddDevice("NEAR", {"PCI\\VEN_7E2D&DEV_011", "pci\\ven_7e2d&dev_0111"});
    EXPECT_EQ(FindPresentDevice(other.os()), std::nullopt);
    RemovePresentDevice(other.os());
    EXPECT_TRUE(other.log().Details("SetupDiRemoveDevice").empty());
}

TEST_F(PresentDevice, AnEntryLongerThanTheOldBufferIsTakenWhole)
{
    const std::string longEntry = std::string(kHardwareId) + "&SUBSYS_" + std::string(300, 'A');
    machine.devices.AddDevice("AUDIO", {longEntry});
    EXPECT_EQ(Find(), longEntry);
}

TEST_F(PresentDevice, APropertyWithoutItsTerminatorsEndsAtItsSize)
{
    machine.devices.AddDevice("AUDIO", {});
    // Two entries, the last one cut off before its zero and the list's final zero.
    machine.devices.devices[0].hardwareIdData = std::string("PCI\\VEN_1", 9) + '\0' + kHardwareId;
    EXPECT_EQ(Find(), kHardwareId);

    SetupMachine cut;
    cut.devices.AddDevice("AUDIO", {});
    cut.devices.devices[0].hardwareIdData = "PCI\\VEN_7E2D&DEV_01";
    EXPECT_EQ(FindPresentDevice(cut.os()), std::nullopt);
}

TEST_F(PresentDevice, TheSearchsLastErrorSurvivesTheDestructionOfTheSet)
{
    machine.devices.AddDevice("NET", {"PCI\\VEN_10EC&DEV_8139"});
    Find();
    // The enumeration ended with ERROR_NO_MORE_ITEMS; destroying the set
    // would have cleared it.
    EXPECT_EQ(machine.errors.LastError(), 259u);
}

}  // namespace
