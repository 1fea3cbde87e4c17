#include "common/file_actions.h"

void DeleteEvenIfReadOnly(platform::FileSystem& files, const std::string& path)
{
    files.SetAttributes(path, platform::kAttributeNormal);
    files.Remove(path);
}
