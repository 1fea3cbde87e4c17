#include "driver/inf_option_patch.h"

#include <cstring>

namespace {

// The low digit of the value byte lies at offset 48 in both option lines.
constexpr long kValueDigitOffset = 48;
constexpr std::uint32_t kPauseBeforeLegacyWrite = 100;

// Reads on from the current position, line by line, to the first line that
// begins with `prefix`, and gives its start offset. Lines end at LF; a CR
// before it belongs to the line's end and the last line may have no end at
// all. A line of any length counts as one line.
bool FindLineStartingWith(platform::ByteStream& file, const char* prefix, long& lineStart)
{
    const std::size_t prefixLength = std::strlen(prefix);
    for (;;) {
        const long start = file.Tell();
        if (start < 0)
            return false;  // without its offset no line can be patched safely
        int byte = file.GetByte();
        if (byte == -1)
            return false;
        std::size_t column = 0;
        bool matches = true;
        while (byte != -1 && byte != '\n') {
            if (column < prefixLength && static_cast<char>(byte) != prefix[column])
                matches = false;
            ++column;
            byte = file.GetByte();
        }
        if (matches && column >= prefixLength) {
            lineStart = start;
            return true;
        }
        if (byte == -1)
            return false;
    }
}

char JackConfigurationDigit(InfOptionStates& options)
{
    if (options.SoundCardChosen())
        return '0';
    int configuration = 0;
    if (options.LineInSharesRear())
        configuration += 1;
    if (options.LineInSharesCentre())
        configuration += 2;
    if (options.MicrophoneSharesSubwoofer())
        configuration += 4;
    return static_cast<char>('0' + configuration);
}

void WriteValueDigit(platform::ByteStream& file, long lineStart, char digit)
{
    // Where the seek failed the stream stands after the line just read: a
    // digit written there would land at the start of the next line.
    if (!file.Seek(lineStart + kValueDigitOffset))
        return;
    file.PutByte(digit);
    file.Flush();
}

}  // namespace

void PatchInfOptions(platform::Platform& os, InfOptionStates& options,
                     const std::string& infPath)
{
    auto file = os.files.OpenForUpdate(infPath);
    if (!file)
        return;

    long lineStart = 0;
    if (options.LegacyDeviceDisabled() &&
        FindLineStartingWith(*file, kEnableLegacyLine, lineStart)) {
        os.clock.Sleep(kPauseBeforeLegacyWrite);
        WriteValueDigit(*file, lineStart, '2');
    }

    const char jackDigit = JackConfigurationDigit(options);
    file->Seek(0);
    if (FindLineStartingWith(*file, kJackConfigLine, lineStart))
        WriteValueDigit(*file, lineStart, jackDigit);

    file->SeekToEnd();
    file->Flush();
    file->Close();
}
