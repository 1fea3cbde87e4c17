// What the installer does to files the same way everywhere.
#pragma once

#include <string>

#include "platform/files.h"

// Makes the file writable (FILE_ATTRIBUTE_NORMAL) and deletes it: a
// read-only file, from a CD say, would refuse the deletion. Neither result
// is looked at.
void DeleteEvenIfReadOnly(platform::FileSystem& files, const std::string& path);

// Makes the target writable and copies the source over it (CopyFileA,
// overwriting): an earlier read-only copy would refuse to be overwritten.
// Neither result is looked at.
void CopyOverEvenIfReadOnly(platform::FileSystem& files, const std::string& from,
                            const std::string& to);
