// The findings a run shows: what the installer did with the media on one
// Windows version and one start, read from the run's events.
#pragma once

#include "media_tool/check/findings.h"
#include "media_tool/reading/media_scan.h"
#include "media_tool/plan/plan.h"

void CheckRun(const PlanResult& run, const MediaTree& media, FindingList& findings);

// The start after the restart that a driver run registered in the Run key.
void CheckRestart(const PlanResult& driverRun, const PlanResult& restart, const MediaTree& media,
                  FindingList& findings);
