#include "common/file_actions.h"

void DeleteEvenIfReadOnly(platform::FileSystem& files, const std::string& path)
{
    files.SetAttributes(path, platform::kAttributeNormal);
    files.Remove(path);
}

void CopyOverEvenIfReadOnly(platform::FileSystem& files, const std::string& from,
                            const std::string& to)
{
    files.SetAttributes(to, platform::kAttributeNormal);
    files.Copy(from, to, false);
}
