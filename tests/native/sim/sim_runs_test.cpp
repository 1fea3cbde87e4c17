// What the simulated Windows tells about a whole run: the numbered calls and
// the faults aimed at them, the limits of a run, what is still open at its
// end, what it never used, and listings of its registry and files.
#include <gtest/gtest.h>

#include "sim/sim_machine.h"

namespace {

using platform::RootKey;

TEST(SimRuns, CallsAreNumberedInOrderAndFaultsAimAtTheirNumbers)
{
    sim::SimMachine machine;
    auto& files = machine.os().files;
    machine.faults.FailCall(2);
    machine.faults.FailFrom(5);
    std::vector<std::string> answers;
    for (int call = 1; call <= 6; ++call)
        answers.push_back(files.WindowsDirectory());
    EXPECT_EQ(answers, (std::vector<std::string>{"C:\\WINDOWS", "", "C:\\WINDOWS", "C:\\WINDOWS",
                                                 "", ""}));
    ASSERT_EQ(machine.log().Calls().size(), 6u);
    for (std::uint64_t index = 1; index <= 6; ++index) {
        const sim::SimCall* call = machine.log().Call(index);
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->function, "GetWindowsDirectoryA");
        bool failed = call->detail.find("(failed)") != std::string::npos;
        EXPECT_EQ(failed, index == 2 || index >= 5) << index;
    }
}

TEST(SimRuns, WhatTheUserDoesIsNotACall)
{
    sim::SimMachine machine;
    machine.context.Note("click", "100:1");
    machine.os().clock.Sleep(10);
    ASSERT_EQ(machine.log().Calls().size(), 2u);
    EXPECT_EQ(machine.log().Calls()[0].index, 0u);
    EXPECT_EQ(machine.log().Calls()[1].index, 1u);
    EXPECT_EQ(machine.context.calls, 1u);
}

TEST(SimRuns, FaultsByNameSkipThenFailAsOftenAsAsked)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\a.txt", "a");
    machine.faults.Fail("fopen", "a.txt", 2, 1);
    std::vector<bool> opened;
    for (int i = 0; i < 4; ++i)
        opened.push_back(machine.os().files.OpensForReading("C:\\a.txt"));
    EXPECT_EQ(opened, (std::vector<bool>{true, false, false, true}));
    EXPECT_TRUE(machine.UnusedScripts().empty());
}

TEST(SimRuns, ARunPastItsLimitsStopsAsAHang)
{
    sim::SimMachine calls;
    calls.context.limits.calls = 3;
    for (int i = 0; i < 3; ++i)
        calls.os().mixer.DeviceCount();
    EXPECT_THROW(calls.os().mixer.DeviceCount(), sim::SimHang);

    sim::SimMachine time;
    time.context.limits.time = 5000;
    time.os().clock.Sleep(5000);
    time.os().mixer.DeviceCount();  // at the limit, not past it
    time.os().clock.Sleep(1);
    EXPECT_THROW(time.os().mixer.DeviceCount(), sim::SimHang);
}

TEST(SimRuns, WhatIsLeftOpenIsListed)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\dir\\a.txt", "a");
    machine.files.AddFile("C:\\p.exe", "program");
    auto& os = machine.os();
    auto key = os.registry.OpenKey(RootKey::LocalMachine,
                                   "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                   platform::RegAccess::QueryValue);
    auto process = os.processes.Start("C:\\p.exe -x", platform::kShowShow);
    auto token = os.security.OpenProcessTokenForAdjusting();
    auto set = os.devices.GetPresentDevices();
    auto list = os.devices.QuerySourceList(platform::kSourceListSystemUser);
    auto search = os.files.Find("C:\\dir\\*.*");
    auto stream = os.files.OpenForUpdate("C:\\dir\\a.txt");
    os.dialogs.BeginWaitCursor();
    ASSERT_TRUE(key && process && token && set && list && search && stream);

    EXPECT_EQ(machine.LeftOpen(),
              (std::vector<std::string>{
                  "registry key HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                  "process handle of C:\\p.exe -x", "process token", "device information set",
                  "queried source list", "file search C:\\dir\\*.*", "stream on C:\\dir\\a.txt",
                  "wait cursor at depth 1"}));

    os.registry.CloseKey(*key);
    os.processes.Release(*process);
    os.security.CloseToken(*token);
    os.devices.DestroyDeviceSet(*set);
    os.devices.FreeSourceList(*list);
    search.reset();
    stream.reset();
    os.dialogs.EndWaitCursor();
    EXPECT_TRUE(machine.LeftOpen().empty());

    os.dialogs.EndWaitCursor();  // once too often
    EXPECT_EQ(machine.LeftOpen(), std::vector<std::string>{"wait cursor at depth -1"});
    os.dialogs.BeginWaitCursor();
}

TEST(SimRuns, QueuedScriptsAndFailuresNotUsedAreReportedWhenTheMachineGoes)
{
    std::vector<std::string> reported;
    sim::UnusedScriptReporter suiteReporter = sim::SetUnusedScriptReporter(
        [&](const std::string& unused) { reported.push_back(unused); });
    {
        sim::SimMachine machine;
        machine.dialogs.DefineTemplate(100, sim::SimTemplate{});
        machine.dialogs.Expect(100, [](sim::SimDialog&) {});
        machine.dialogs.Expect(100, [](sim::SimDialog&) {});
        machine.dialogs.Always(100, [](sim::SimDialog&) {});  // standing: never unused
        machine.faults.Fail("CopyFileA", "Mixer.dat", 2);
        machine.faults.FailAlways("DeleteFileA");  // standing too
        machine.faults.Fail("fopen");
        EXPECT_FALSE(machine.os().files.OpensForReading("C:\\none"));  // uses it
        EXPECT_EQ(machine.UnusedScripts(),
                  (std::vector<std::string>{
                      "dialog 100: 2 scripted answer(s) never used",
                      "fault CopyFileA \"Mixer.dat\": 2 failure(s) never happened"}));
        EXPECT_TRUE(reported.empty());
    }
    sim::SetUnusedScriptReporter(suiteReporter);
    EXPECT_EQ(reported,
              (std::vector<std::string>{
                  "dialog 100: 2 scripted answer(s) never used",
                  "fault CopyFileA \"Mixer.dat\": 2 failure(s) never happened"}));
}

TEST(SimRuns, ListingsShowRegistryAndFilesWithoutPrivateAccess)
{
    sim::SimMachine machine;
    machine.registry.PutValue(RootKey::CurrentUser, "Software\\Test", "Number",
                              sim::SimRegValue{sim::kRegDword, std::string("\x05\0\0\0", 4)});
    machine.registry.PutString(RootKey::CurrentUser, "Software\\Test", "Name", "x");
    machine.files.AddFile("C:\\dir\\a.txt", "bytes", platform::kAttributeReadOnly);

    bool found = false;
    for (const sim::SimRegKeyListing& key : machine.registry.Listing()) {
        if (key.path != "HKCU\\Software\\Test")
            continue;
        found = true;
        ASSERT_EQ(key.values.size(), 2u);
        EXPECT_EQ(key.values[0].first, "Name");
        EXPECT_EQ(key.values[0].second.data, std::string("x\0", 2));
        EXPECT_EQ(key.values[1].first, "Number");
        EXPECT_EQ(key.values[1].second.type, sim::kRegDword);
    }
    EXPECT_TRUE(found);

    std::vector<std::string> paths;
    for (const sim::SimFileSystem::Node& node : machine.files.Listing()) {
        paths.push_back(node.path);
        if (node.path == "C:\\dir\\a.txt") {
            EXPECT_FALSE(node.folder);
            EXPECT_EQ(node.bytes, "bytes");
            EXPECT_EQ(node.attributes, platform::kAttributeReadOnly);
        }
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\", "C:\\dir", "C:\\dir\\a.txt", "C:\\WINDOWS",
                                               "C:\\WINDOWS\\INF"}));
}

TEST(SimRuns, FileChangesMadeByCallsAreReported)
{
    sim::SimMachine machine;
    machine.files.AddFile("C:\\a.inf", "a");
    machine.files.AddFile("C:\\b.inf", "b");
    std::vector<std::string> changed;
    machine.files.onChange = [&](const std::string& path) { changed.push_back(path); };
    auto& os = machine.os();
    os.files.Copy("C:\\a.inf", "c:\\copy.inf", false);
    os.files.Remove("C:\\b.inf");
    os.files.SetAttributes("C:\\a.inf", platform::kAttributeReadOnly);  // not a change of bytes
    os.profiles.WriteString("S", "K", "1", "C:\\s.ini");
    os.devices.CopyOemInf("C:\\copy.inf", "C:\\");
    EXPECT_EQ(changed, (std::vector<std::string>{"C:\\copy.inf", "C:\\b.inf", "C:\\s.ini",
                                                 "C:\\WINDOWS\\INF\\oem0.inf",
                                                 "C:\\WINDOWS\\INF\\oem0.PNF", "C:\\copy.inf"}));
}

// SetupDiRemoveDevice takes the device node away; the hardware stays, and a
// re-enumeration of the device tree finds it again.
TEST(SimRuns, ARemovedDeviceComesBackWithTheNextReenumeration)
{
    sim::SimMachine machine;
    machine.devices.AddDevice("AUDIO", {"PCI\\VEN_7E2D&DEV_0111"});
    auto& devices = machine.os().devices;
    auto set = devices.GetPresentDevices();
    platform::DeviceInfo device;
    ASSERT_TRUE(devices.EnumDevice(*set, 0, device));
    ASSERT_TRUE(devices.RemoveDevice(*set, device));
    devices.DestroyDeviceSet(*set);
    EXPECT_FALSE(machine.devices.Device("AUDIO")->present);

    auto empty = devices.GetPresentDevices();
    EXPECT_FALSE(devices.EnumDevice(*empty, 0, device));
    devices.DestroyDeviceSet(*empty);

    devices.ReenumerateDevNode(*devices.LocateRootDevNode(), platform::kReenumerateNormal);
    EXPECT_TRUE(machine.devices.Device("AUDIO")->present);
    EXPECT_FALSE(machine.devices.Device("AUDIO")->removed);
}

}  // namespace
