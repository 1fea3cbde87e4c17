// setup.ini as the installer reads it: the sections and keys it knows and
// the values it takes as numbers.
#pragma once

#include <string>

#include "media_tool/check/findings.h"

// Adds a finding for each section, key or line the installer does not read
// and each number it would not read as written. `path` names the file.
void CheckSetupIniText(const std::string& text, const std::string& path, FindingList& findings);
