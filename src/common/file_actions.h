// What the installer does to files the same way everywhere.
#pragma once

#include <string>

#include "platform/files.h"

// Makes the file writable (FILE_ATTRIBUTE_NORMAL) and deletes it: a
// read-only file, from a CD say, would refuse the deletion. Neither result
// is looked at.
void DeleteEvenIfReadOnly(platform::FileSystem& files, const std::string& path);
