// The INF option patch on the simulated file system. The first input byte
// gives the check states of the options, one bit each (1: legacy device
// disabled, 2: sound card, 4: line-in and rear, 8: line-in and centre,
// 16: microphone and subwoofer); the rest is the staged INF's bytes.
//
// The patched file must equal what a plain reference patcher makes of it:
// only the first line of each kind that begins, at a line start, with the
// exact 55-character text is changed, at its offset 48; "EnableLegacy"
// becomes "2" only when the legacy box is checked, after a 100 ms pause;
// "JackConfig" is always written, "0" for the sound card and otherwise the
// sum of 1, 2 and 4 for the jack boxes. Nothing else changes and the length
// never changes.
#include <optional>
#include <vector>

#include "driver/inf_option_patch.h"
#include "fuzz_check.h"
#include "sim/sim_machine.h"

namespace {

constexpr const char* kInfPath = "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF";
const std::string kEnableLegacyLine =
    "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
const std::string kJackConfigLine =
    "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";
constexpr std::size_t kValueDigitOffset = 48;

struct Options : InfOptionStates {
    bool legacyDisabled, soundCard, lineInRear, lineInCentre, micSubwoofer;

    explicit Options(std::uint8_t bits)
        : legacyDisabled(bits & 1), soundCard(bits & 2), lineInRear(bits & 4),
          lineInCentre(bits & 8), micSubwoofer(bits & 16) {}

    bool LegacyDeviceDisabled() override { return legacyDisabled; }
    bool SoundCardChosen() override { return soundCard; }
    bool LineInSharesRear() override { return lineInRear; }
    bool LineInSharesCentre() override { return lineInCentre; }
    bool MicrophoneSharesSubwoofer() override { return micSubwoofer; }
};

// The offset of the first line that begins with `prefix`, if any. A line
// begins at the start of the file or just after a line feed.
std::optional<std::size_t> FirstLineStartingWith(const std::string& text,
                                                 const std::string& prefix)
{
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        if (text.compare(lineStart, prefix.size(), prefix) == 0)
            return lineStart;
        const std::size_t lineFeed = text.find('\n', lineStart);
        if (lineFeed == std::string::npos)
            break;
        lineStart = lineFeed + 1;
    }
    return std::nullopt;
}

struct ReferencePatch {
    std::string text;
    bool legacyWritten = false;
};

ReferencePatch PatchByReference(std::string text, const Options& options)
{
    ReferencePatch patch;
    if (options.legacyDisabled) {
        if (auto line = FirstLineStartingWith(text, kEnableLegacyLine)) {
            text[*line + kValueDigitOffset] = '2';
            patch.legacyWritten = true;
        }
    }
    int jacks = 0;
    if (!options.soundCard)
        jacks = (options.lineInRear ? 1 : 0) + (options.lineInCentre ? 2 : 0) +
                (options.micSubwoofer ? 4 : 0);
    if (auto line = FirstLineStartingWith(text, kJackConfigLine))
        text[*line + kValueDigitOffset] = static_cast<char>('0' + jacks);
    patch.text = text;
    return patch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    Options options(data[0]);
    const std::string original = fuzz::Bytes(data + 1, size - 1);

    sim::SimMachine machine;
    machine.files.AddFile(kInfPath, original, platform::kAttributeNormal);
    PatchInfOptions(machine.os(), options, kInfPath);

    const auto patched = machine.files.Read(kInfPath);
    FUZZ_CHECK(patched);
    const ReferencePatch expected = PatchByReference(original, options);
    FUZZ_CHECK(patched->size() == original.size());
    FUZZ_CHECK(*patched == expected.text);

    const std::vector<std::uint32_t> pauses = machine.clock.Pauses();
    if (expected.legacyWritten)
        FUZZ_CHECK(pauses == std::vector<std::uint32_t>{100});
    else
        FUZZ_CHECK(pauses.empty());
    return 0;
}
