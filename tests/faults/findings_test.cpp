// The fault ring's rules, on runs made up for the purpose: what counts as a
// finding and what does not.
#include <gtest/gtest.h>

#include "common/ascii.h"
#include "findings.h"

namespace {

using fault_ring::Fault;
using fault_ring::Holdings;
using fault_ring::RunRecord;

Holdings Holding(std::vector<std::string> files, std::vector<std::string> values = {},
                 std::vector<std::string> devices = {})
{
    Holdings holdings;
    for (const std::string& file : files)
        holdings.files[AsciiUpper(file)] = file;
    for (const std::string& value : values)
        holdings.values[AsciiUpper(value)] = value;
    for (const std::string& device : devices)
        holdings.devices[AsciiUpper(device)] = device;
    return holdings;
}

// The run without faults: it deletes "gone.txt", creates "new.txt" and keeps
// the rest.
RunRecord WithoutFaults()
{
    RunRecord run;
    run.before = Holding({"C:\\kept.txt", "C:\\gone.txt", "C:\\WINDOWS\\INF\\Drvdata.bin",
                          fault_ring::kEarlierDriverInf},
                         {"HKLM\\Run \"Other\""}, {"AUDIO"});
    run.after = Holding({"C:\\kept.txt", "C:\\new.txt", "C:\\WINDOWS\\INF\\Drvdata.bin",
                         fault_ring::kEarlierDriverInf},
                        {"HKLM\\Run \"Other\""}, {"AUDIO"});
    run.log = {{0, "CopyFileA", "A -> B", 7}};
    return run;
}

TEST(RingFindings, OnlyWhatTheRunWithoutFaultsKeepsMayNotBeLost)
{
    const RunRecord withoutFaults = WithoutFaults();
    RunRecord run = withoutFaults;
    EXPECT_TRUE(fault_ring::FindingsOf(run, withoutFaults).empty());

    // Deleting what the run without faults deletes too, and not creating
    // what it creates, loses nothing.
    run.after = Holding({"C:\\kept.txt", "C:\\WINDOWS\\INF\\Drvdata.bin",
                         fault_ring::kEarlierDriverInf},
                        {"HKLM\\Run \"Other\""}, {"AUDIO"});
    EXPECT_TRUE(fault_ring::FindingsOf(run, withoutFaults).empty());

    run.after = Holding({"c:\\KEPT.TXT"}, {}, {});
    EXPECT_EQ(fault_ring::FindingsOf(run, withoutFaults),
              (std::vector<std::string>{
                  "lost the registry value HKLM\\Run \"Other\", which the run without faults keeps",
                  "lost the device AUDIO, which the run without faults keeps"}));
}

TEST(RingFindings, TheDevicesRemovalIsForgivenOnlyWithItsInfStaged)
{
    const RunRecord withoutFaults = WithoutFaults();
    RunRecord run = withoutFaults;
    run.after.devices.clear();
    run.removedWithStagedInf.insert("AUDIO");
    EXPECT_TRUE(fault_ring::FindingsOf(run, withoutFaults).empty());

    run.removedWithStagedInf.clear();
    run.unstagedChanges = {"removed the device AUDIO with no INF staged, call 9 (...)"};
    EXPECT_EQ(fault_ring::FindingsOf(run, withoutFaults),
              (std::vector<std::string>{
                  "lost the device AUDIO, which the run without faults keeps",
                  "removed the device AUDIO with no INF staged, call 9 (...)"}));
}

TEST(RingFindings, WhatIsLeftOpenCountsByHowTheRunEnded)
{
    const RunRecord withoutFaults = WithoutFaults();
    RunRecord run = withoutFaults;
    run.leftOpen = {"registry key HKLM\\Run", "wait cursor at depth 1"};
    for (RunRecord::End end : {RunRecord::End::Returned, RunRecord::End::Exited}) {
        run.end = end;
        EXPECT_EQ(fault_ring::FindingsOf(run, withoutFaults),
                  (std::vector<std::string>{"left open: registry key HKLM\\Run",
                                            "left open: wait cursor at depth 1"}));
    }
    // Stuck in a dialog, the program holds its wait cursor by design.
    run.end = RunRecord::End::UserEndedTheProgram;
    EXPECT_EQ(fault_ring::FindingsOf(run, withoutFaults),
              std::vector<std::string>{
                  "left open while a dialog waited: registry key HKLM\\Run"});

    run.leftOpen.clear();
    run.end = RunRecord::End::Hang;
    run.endMessage = "more than 1000 calls";
    EXPECT_EQ(fault_ring::FindingsOf(run, withoutFaults),
              std::vector<std::string>{"hang: more than 1000 calls"});
    run.end = RunRecord::End::SimulationError;
    run.endMessage = "dialog handle used outside its modal run";
    EXPECT_EQ(fault_ring::FindingsOf(run, withoutFaults),
              std::vector<std::string>{"the run stopped: dialog handle used outside its modal run"});
}

TEST(RingFindings, FaultsAreDescribedByTheCallTheRunWithoutFaultsMade)
{
    const RunRecord withoutFaults = WithoutFaults();
    EXPECT_EQ(fault_ring::Describe(Fault{}, withoutFaults), "no fault");
    EXPECT_EQ(fault_ring::Describe(Fault{Fault::Kind::Exactly, 7}, withoutFaults),
              "call 7 fails (CopyFileA A -> B)");
    EXPECT_EQ(fault_ring::Describe(Fault{Fault::Kind::FromOn, 7}, withoutFaults),
              "calls from 7 on fail (CopyFileA A -> B)");
}

}  // namespace
