// The log's small parts: its formatting helper, the names it gives Windows
// versions, which file is setup.ini, and how an outcome is put in words.
#include <gtest/gtest.h>

#include "logging/log_format.h"
#include "logging/logged_profiles.h"
#include "logging/run_header.h"
#include "logging/run_log.h"
#include "logging/run_outcome.h"
#include "sim/windows_versions.h"

namespace {

using logging::Event;
using logging::Format;

TEST(LogParts, FormatWritesTheConversionsTheLogUses)
{
    EXPECT_EQ(Format("%s = %d", "GetPrivateProfileIntA(...)", -12), "GetPrivateProfileIntA(...) = -12");
    EXPECT_EQ(Format("%d %d", 0, -2147483647 - 1), "0 -2147483648");
    EXPECT_EQ(Format("%u, 0x%X", 4294967295u, 0xE000020Bu), "4294967295, 0xE000020B");
    EXPECT_EQ(Format("0x%X %c", 0u, 'Q'), "0x0 Q");
    EXPECT_EQ(Format("100%% \"%s\"", ""), "100% \"\"");
}

TEST(LogParts, WindowsVersionsByName)
{
    EXPECT_EQ(logging::WindowsName(versions::kWindows95), "Windows 95");
    EXPECT_EQ(logging::WindowsName(versions::kWindows98), "Windows 98");
    EXPECT_EQ(logging::WindowsName(versions::kWindowsMe), "Windows ME");
    EXPECT_EQ(logging::WindowsName(versions::kWindowsNt4), "Windows NT 4.0");
    EXPECT_EQ(logging::WindowsName(versions::kWindows2000), "Windows 2000");
    EXPECT_EQ(logging::WindowsName(versions::kWindowsXp), "Windows XP");
    EXPECT_EQ(logging::WindowsName(versions::kWindows7), "Windows 7");
    EXPECT_EQ(logging::WindowsName(platform::VersionInfo{2, 10, 0, 19045}), "Windows NT 10.0");
}

TEST(LogParts, SetupIniIsKnownByItsFileNameAlone)
{
    EXPECT_TRUE(logging::IsSetupIni("D:\\setup.ini"));
    EXPECT_TRUE(logging::IsSetupIni("E:\\AUDIO\\SETUP.INI"));
    EXPECT_TRUE(logging::IsSetupIni("D:Setup.Ini"));
    EXPECT_FALSE(logging::IsSetupIni("D:\\mysetup.ini"));
    EXPECT_FALSE(logging::IsSetupIni("D:\\setup.ini.old"));
    EXPECT_FALSE(logging::IsSetupIni("C:\\WINDOWS\\QNCDPLAY.INI"));
}

// Of each kind of news the first that came says it; the kinds follow one
// another in one sentence.
TEST(LogParts, TheOutcomeSentence)
{
    struct Case {
        std::vector<Event> events;
        const char* sentence;
    };
    const Case cases[] = {
        {{}, "Nothing installed."},
        {{Event::OptionsDialogCancelled}, "Nothing installed: the options dialog was cancelled."},
        {{Event::DriverUpdated, Event::RestartPromptEnded, Event::RebootRequested},
         "Driver updated on the present device; restart requested."},
        {{Event::DeviceNotRemoved, Event::InfRegistered, Event::RestartPromptEnded},
         "The device could not be removed (INF registered for its next start); restart declined."},
        {{Event::InfNotRegistered, Event::RebootRefused},
         "No device, and the INF could not be registered; restart refused by Windows."},
        {{Event::MissingPackageSetup, Event::DeviceRemoved, Event::InfRegistered,
          Event::RestartPromptEnded},
         "Package setup not started: \"Can not find the PCI Audio Applications setup program.\"; "
         "device removed and reinstalled; restart declined."},
        {{Event::PackageStarted, Event::OptionsDialogCancelled}, "Package setup started."},
    };
    for (const Case& c : cases) {
        logging::RunOutcome outcome;
        for (Event event : c.events)
            outcome.Saw(event);
        EXPECT_EQ(outcome.Sentence(), c.sentence);
    }

    logging::RunOutcome replacement;
    replacement.ReplacementRun();
    EXPECT_EQ(replacement.Sentence(), "Mixer not replaced: the run ended before the copy.");
    replacement.Saw(Event::MixerNotCopied);
    replacement.Saw(Event::MixerStarted);
    EXPECT_EQ(replacement.Sentence(), "Mixer not replaced: Mixer.dat could not be copied over "
                                      "Mixer.exe; the mixer was started.");

    logging::RunOutcome selfHandOver;
    selfHandOver.RouteChosen(Route::HandOver);
    EXPECT_EQ(selfHandOver.Sentence(),
              "Nothing started: this installer is the media's Setup.exe itself.");
}

}  // namespace
