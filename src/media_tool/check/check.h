// check: the media planned on every Windows version and every start, and the
// findings of those runs together with what the media shows by itself.
#pragma once

#include <vector>

#include "media_tool/check/findings.h"
#include "media_tool/reading/media_scan.h"

std::vector<Finding> CheckMedia(const MediaTree& media);
