#include "common/windows_directory.h"

std::string WindowsDirectoryPath(platform::FileSystem& files)
{
    std::string path = files.WindowsDirectory();
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

std::string InfFolderPath(platform::FileSystem& files)
{
    return WindowsDirectoryPath(files) + "INF\\";
}
