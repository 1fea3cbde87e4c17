#include <gtest/gtest.h>

#include "package/audio_applications.h"
#include "support/setup_machine.h"

namespace {

std::vector<std::string> Closing(SetupMachine& machine)
{
    return machine.log().Sequence({"FindWindowExA", "SendMessageA", "Sleep"});
}

TEST(CloseAudioApplications, TheSuiteAloneIsClosedAndGetsItsOwnPause)
{
    SetupMachine machine;
    machine.desktop.AddWindow("TuneStack");
    machine.desktop.AddWindow("CD Player");
    machine.desktop.AddWindow("MP3 Player");
    CloseAudioApplications(machine.os());
    EXPECT_EQ(Closing(machine), (std::vector<std::string>{"FindWindowExA TuneStack",
                                                          "SendMessageA WM_CLOSE TuneStack",
                                                          "Sleep 500", "Sleep 500"}));
    EXPECT_TRUE(machine.desktop.IsOpen("CD Player"));
    EXPECT_TRUE(machine.desktop.IsOpen("MP3 Player"));
    EXPECT_EQ(machine.now(), 1000u);
}

TEST(CloseAudioApplications, WithoutTheSuiteEachPlayerFoundIsClosedWithoutPauses)
{
    SetupMachine machine;
    machine.desktop.AddWindow("MIDI Player");
    CloseAudioApplications(machine.os());
    EXPECT_EQ(Closing(machine),
              (std::vector<std::string>{"FindWindowExA TuneStack (none)", "FindWindowExA CD Player (none)",
                                        "FindWindowExA MIDI Player", "SendMessageA WM_CLOSE MIDI Player",
                                        "FindWindowExA MP3 Player (none)", "Sleep 500"}));
    EXPECT_FALSE(machine.desktop.IsOpen("MIDI Player"));
    EXPECT_EQ(machine.now(), 500u);
}

TEST(CloseAudioApplications, OnlyTheFirstWindowOfATitleIsClosed)
{
    SetupMachine machine;
    machine.desktop.AddWindow("CD Player");
    machine.desktop.AddWindow("CD Player");
    machine.desktop.AddWindow("Mixer");
    CloseAudioApplications(machine.os());
    EXPECT_EQ(machine.desktop.CloseRequests("CD Player"), 1);
    EXPECT_TRUE(machine.desktop.IsOpen("CD Player"));
    EXPECT_TRUE(machine.desktop.IsOpen("Mixer"));
}

TEST(CloseAudioApplications, MixerIsClosedJustBeforeTheFinalPause)
{
    for (bool suite : {true, false}) {
        SetupMachine machine;
        if (suite)
            machine.desktop.AddWindow("TuneStack");
        machine.desktop.AddWindow("Mixer");
        CloseAudioApplicationsAndMixer(machine.os());
        auto steps = Closing(machine);
        ASSERT_GE(steps.size(), 3u);
        EXPECT_EQ(steps[steps.size() - 2], "SendMessageA WM_CLOSE Mixer");
        EXPECT_EQ(steps.back(), "Sleep 500");
        EXPECT_EQ(machine.now(), suite ? 1000u : 500u);
    }
}

}  // namespace
