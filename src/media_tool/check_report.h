// Findings as text for people and as JSON for programs.
#pragma once

#include <string>
#include <vector>

#include "media_tool/findings.h"

std::string FindingsText(const std::string& media, const std::vector<Finding>& findings);

// {"media": PATH, "findings": [{"severity", "code", "path", "message"}]}
std::string FindingsJson(const std::string& media, const std::vector<Finding>& findings);
