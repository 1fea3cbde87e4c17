// The findings that need no run, read straight from the media: what its
// folder holds that a Windows disc cannot, whether it has the installer, its
// Setup.exe for the older Windows versions, and setup.ini's sections, keys
// and values.
#pragma once

#include "media_tool/check/findings.h"
#include "media_tool/reading/media_scan.h"

void CheckMediaFolder(const MediaTree& media, FindingList& findings);
// What a problem of the scan means for the disc.
Finding ScanFinding(const ScanProblem& problem);
void CheckSetupIni(const MediaTree& media, FindingList& findings);

// "D:\" followed by a path below the media root.
std::string OnMedia(const std::string& path);
