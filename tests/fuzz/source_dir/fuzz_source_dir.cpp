// The SourceDir derivation. The input is the program name of the command
// line and, after a line feed, the current directory.
//
// For every input SourceDir ends in a backslash and begins with the drive
// it stands on: the program name's own ("D:") or, without one, the current
// directory's up to its first colon. For a program name of the usual shape,
// [drive] [\] folder\...\file, SourceDir is exactly the folder, as in these
// examples (and a name without a folder stays whole):
//   "D:\W2KSETUP.EXE"             any          "D:\"
//   "E:\DRIVERS\AUDIO\SETUP.EXE"  any          "E:\DRIVERS\AUDIO\"
//   "\AUDIO\SETUP.EXE"            "D:\TEMP"    "D:\AUDIO\"
//   "AUDIO\SETUP.EXE"             "D:\TEMP"    "D:AUDIO\" (drive-relative)
//   "SETUP.EXE"                   "D:\TEMP"    "D:SETUP.EXE\"
#include <optional>
#include <vector>

#include "common/source_dir.h"
#include "fuzz_check.h"

namespace {

bool HasDrive(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':';
}

// The current directory up to and with its first colon, or all of it.
std::string DriveOf(const std::string& currentDirectory)
{
    const std::size_t colon = currentDirectory.find(':');
    return colon == std::string::npos ? currentDirectory : currentDirectory.substr(0, colon + 1);
}

// A program name of the usual shape: an optional drive, an optional leading
// backslash, then folders and a file name, none of them empty or holding a
// colon.
struct UsualProgramName {
    std::string drive;
    bool fromRoot = false;
    std::vector<std::string> folders;
    std::string file;
};

std::optional<UsualProgramName> ParseUsual(std::string name)
{
    UsualProgramName parsed;
    if (HasDrive(name) && name[0] != '\\') {
        parsed.drive = name.substr(0, 2);
        name.erase(0, 2);
    }
    if (!name.empty() && name[0] == '\\') {
        parsed.fromRoot = true;
        name.erase(0, 1);
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t backslash = name.find('\\', start);
        parts.push_back(name.substr(start, backslash - start));
        if (backslash == std::string::npos)
            break;
        start = backslash + 1;
    }
    for (const std::string& part : parts) {
        if (part.empty() || part.find(':') != std::string::npos)
            return std::nullopt;
    }
    parsed.file = parts.back();
    parts.pop_back();
    parsed.folders = parts;
    return parsed;
}

std::string ExpectedSourceDir(const UsualProgramName& name, const std::string& currentDirectory)
{
    std::string folder;
    for (const std::string& part : name.folders)
        folder += part + "\\";
    // Without a backslash after its first character the name has no folder
    // to cut off ("SETUP.EXE", "\SETUP.EXE", "D:SETUP.EXE"): it stays whole.
    if (name.folders.empty() && !(name.fromRoot && !name.drive.empty())) {
        const std::string drive = name.drive.empty() ? DriveOf(currentDirectory) : name.drive;
        return drive + (name.fromRoot ? "\\" : "") + name.file + "\\";
    }
    if (!name.drive.empty())
        return name.drive + (name.fromRoot ? "\\" : "") + folder;
    if (name.fromRoot)
        return DriveOf(currentDirectory) + "\\" + folder;
    // A one-letter first folder followed by more reads like "X\...": the
    // derivation then puts a backslash after the drive, as for a path from
    // the root.
    const bool looksRooted = name.folders.size() >= 2 && name.folders[0].size() == 1;
    return DriveOf(currentDirectory) + (looksRooted ? "\\" : "") + folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input = fuzz::Bytes(data, size);
    const std::string programName = fuzz::TakeLine(input);
    const std::string currentDirectory = fuzz::TakeLine(input);

    const std::string sourceDir = DeriveSourceDir(programName, currentDirectory);
    FUZZ_CHECK(!sourceDir.empty() && sourceDir.back() == '\\');
    const std::string drive =
        HasDrive(programName) ? programName.substr(0, 2) : DriveOf(currentDirectory);
    FUZZ_CHECK(sourceDir.compare(0, drive.size(), drive) == 0);

    if (auto usual = ParseUsual(programName))
        FUZZ_CHECK(sourceDir == ExpectedSourceDir(*usual, currentDirectory));
    return 0;
}
