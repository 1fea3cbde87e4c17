// The sound-format scan. The input is the stored bytes of "SystemFormats".
//
// ChooseCdFormat must give the first comma-terminated entry that contains
// "CD", or nothing when there is none; the entry after the last comma never
// counts. SetDefaultSoundFormat must write exactly that choice, as REG_SZ
// without its terminating zero, for the current user and the default
// profile, and nothing at all when there is no choice or the value does not
// fit its 1024-byte buffer.
#include <sstream>
#include <vector>

#include "app/preferences.h"
#include "fuzz_check.h"
#include "sim/sim_machine.h"

namespace {

constexpr const char* kAudio = "Software\\Microsoft\\Multimedia\\Audio";
constexpr const char* kDefaultProfileAudio = ".Default\\Software\\Microsoft\\Multimedia\\Audio";
constexpr std::size_t kFormatsBufferSize = 1024;

// The entries that a comma ends, in order, split by the standard library.
std::vector<std::string> CommaTerminatedEntries(const std::string& text)
{
    std::vector<std::string> entries;
    std::istringstream stream(text);
    std::string entry;
    while (std::getline(stream, entry, ',')) {
        if (stream.eof())
            break;  // no comma after this one
        entries.push_back(entry);
    }
    return entries;
}

void CheckChoice(const std::string& formats)
{
    const std::string chosen = ChooseCdFormat(formats);
    std::string expected;
    for (const std::string& entry : CommaTerminatedEntries(formats)) {
        if (entry.find("CD") != std::string::npos) {
            expected = entry;
            break;
        }
    }
    FUZZ_CHECK(chosen == expected);
    FUZZ_CHECK(chosen.empty() || chosen.find("CD") != std::string::npos);
    FUZZ_CHECK(chosen.find(',') == std::string::npos);
}

void CheckWrittenDefault(const sim::SimMachine& machine, platform::RootKey root,
                         const char* path, const std::string& expected)
{
    auto written = machine.registry.Value(root, path, "DefaultFormat");
    if (expected.empty()) {
        FUZZ_CHECK(!written);
        return;
    }
    FUZZ_CHECK(written);
    FUZZ_CHECK(written->type == sim::kRegSz);
    FUZZ_CHECK(written->data == expected);
}

void CheckPreference(const std::string& stored)
{
    sim::SimMachine machine;
    machine.registry.PutValue(platform::RootKey::CurrentUser, kAudio, "SystemFormats",
                              sim::SimRegValue{sim::kRegSz, stored});
    machine.registry.CreateKey(platform::RootKey::Users, kDefaultProfileAudio);
    SetDefaultSoundFormat(machine.os());

    // The program reads the text up to its first zero byte, if it fits at all.
    std::string expected;
    if (stored.size() <= kFormatsBufferSize)
        expected = ChooseCdFormat(stored.substr(0, stored.find('\0')));
    CheckWrittenDefault(machine, platform::RootKey::CurrentUser, kAudio, expected);
    CheckWrittenDefault(machine, platform::RootKey::Users, kDefaultProfileAudio, expected);
    FUZZ_CHECK(machine.registry.OpenHandleCount() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string formats = fuzz::Bytes(data, size);
    CheckChoice(formats);
    CheckPreference(formats);
    return 0;
}
