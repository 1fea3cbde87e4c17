// The findings only a disc image shows: names Windows reads from it that are
// not those the installer looks for, or not those of the folder it was made
// from.
#pragma once

#include <set>
#include <string>

#include "media_tool/check/findings.h"
#include "media_tool/reading/media_scan.h"
#include "media_tool/plan/plan.h"

// What the installer misses on one run because an image without Joliet
// shows ISO 9660 names ("W2K_ME" for "W2K-ME"). The image paths reported go
// into `reported`, upper-cased, below the root.
void CheckImageRun(const PlanResult& run, const MediaTree& media, std::set<std::string>& reported,
                   FindingList& findings);

// The names Windows cannot read, and the folder's names (kept in Rock Ridge)
// that Windows does not show; a name already reported by CheckImageRun is
// not reported again.
void CheckImageNames(const MediaTree& media, const std::set<std::string>& reported,
                     FindingList& findings);
