// Findings as text for people and as JSON for programs.
#pragma once

#include <string>
#include <vector>

#include "media_tool/check/findings.h"
#include "media_tool/reading/media_scan.h"

// "Media FOLDER (the installer sees it as D:\)", or "Image FILE ...".
std::string MediaHeading(const std::string& root, bool image);

std::string FindingsText(const MediaTree& media, const std::vector<Finding>& findings);

// {"media": PATH, "findings": [{"severity", "code", "path", "message"}]}
std::string FindingsJson(const MediaTree& media, const std::vector<Finding>& findings);
