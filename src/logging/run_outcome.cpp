#include "logging/run_outcome.h"

#include "common/ascii.h"
#include "common/exit_codes.h"
#include "logging/log_format.h"
#include "platform/processes.h"

namespace logging {

namespace {

// The parts of a sentence: of each group, the first part whose event was
// seen says what happened; the groups follow one another.
struct OutcomePart {
    unsigned char group;
    Event event;
    const char* text;
};

constexpr OutcomePart kParts[] = {
    {1, Event::RunKeyNotOpened,
     "mixer not replaced: the Run key does not open for writing"},
    {1, Event::MixerSourceMissing, "mixer not replaced: no Mixer.dat in the Windows directory"},
    {1, Event::MixerCopied, "mixer replaced"},
    {1, Event::MixerNotCopied, "mixer not replaced: Mixer.dat could not be copied over Mixer.exe"},
    {2, Event::MixerStarted, "the mixer was started"},
    {2, Event::MixerNotStarted, "the mixer did not start"},
    {3, Event::MissingInstallationFiles, "nothing installed: \"Can not find installation files.\""},
    {3, Event::StagedInfMissing, "nothing installed: no QNAUDIO.INF reached the staging folder"},
    {4, Event::MissingPackageSetup,
     "package setup not started: \"Can not find the PCI Audio Applications setup program.\""},
    {4, Event::PackageStarted, "package setup started"},
    {4, Event::PackageNotStarted, "the package setup program did not start"},
    {5, Event::DriverUpdated, "driver updated on the present device"},
    {5, Event::DeviceRemoved, "device removed and reinstalled"},
    {5, Event::DeviceNotRemoved,
     "the device could not be removed (INF registered for its next start)"},
    {5, Event::InfRegistered, "no device (INF registered for its next start)"},
    {5, Event::InfNotRegistered, "no device, and the INF could not be registered"},
    {6, Event::RebootRequested, "restart requested"},
    {6, Event::RebootRefused, "restart refused by Windows"},
    {6, Event::RestartPromptEnded, "restart declined"},
    {7, Event::OptionsDialogCancelled, "nothing installed: the options dialog was cancelled"},
};

}  // namespace

void RunOutcome::HandOver(const std::string& command, std::uint32_t result)
{
    m_handOverCommand = command;
    m_handOverResult = result;
}

std::string RunOutcome::Sentence() const
{
    if (m_route == Route::HandOver) {
        if (!m_handOverCommand)
            return "Nothing started: this installer is the media's Setup.exe itself.";
        if (m_handOverResult < platform::kWinExecStarted)
            return Format("Hand-over failed: WinExec answered %u.", m_handOverResult);
        return "Hand-over started: " + *m_handOverCommand + ".";
    }
    if (m_route == Route::WebNothing)
        return "Nothing installed: WebSetup=1 without InstallWDMDriver.";
    if (m_route == Route::SilentUnavailable)
        return "Nothing started: this Windows has no unattended path.";

    std::string sentence;
    unsigned char done = 0;  // the last group that has its part
    for (const OutcomePart& part : kParts) {
        if (part.group == done || !Seen(part.event))
            continue;
        // A cancelled dialog is the outcome only when nothing else happened.
        if (part.event == Event::OptionsDialogCancelled && !sentence.empty())
            break;
        if (!sentence.empty())
            sentence += "; ";
        sentence += part.text;
        done = part.group;
    }
    if (sentence.empty())
        sentence = m_replacementRun ? "mixer not replaced: the run ended before the copy"
                                    : "nothing installed";
    sentence[0] = AsciiUpper(sentence[0]);
    return sentence + ".";
}

std::string RunOutcome::ExitCodeText(int code) const
{
    const bool silent = m_route == Route::Silent || m_route == Route::SilentUnavailable;
    const char* meaning =
        silent ? SilentExitMeaning(code) : "only \"/S\" tells its result in the exit code";
    const std::string text = Format("Exit code: %d", code);
    return *meaning ? text + " (" + meaning + ")" : text;
}

}  // namespace logging
