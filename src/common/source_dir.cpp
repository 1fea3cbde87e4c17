#include "common/source_dir.h"

std::string DeriveSourceDir(const std::string& programName, const std::string& currentDirectory)
{
    std::string dir = programName;

    // Drop the file name with its backslash; a backslash at index 0, or none
    // at all, leaves the text as it is.
    std::size_t last = dir.empty() ? 0 : dir.size() - 1;
    while (last > 0 && dir[last] != '\\')
        --last;
    if (last > 0)
        dir.resize(last);

    // Without a drive the folder is on the current directory's drive.
    if (dir.size() < 2 || dir[1] != ':') {
        std::string prefix = currentDirectory;
        std::size_t colon = prefix.find(':');
        if (colon != std::string::npos)
            prefix.resize(colon + 1);
        if (dir.size() >= 2 && dir[1] == '\\')
            prefix += '\\';
        dir = prefix + dir;
    }

    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    return dir;
}

std::string QuerySourceDir(platform::Platform& os)
{
    std::string programName = os.processes.ProgramName();
    return DeriveSourceDir(programName, os.files.CurrentDirectory());
}
