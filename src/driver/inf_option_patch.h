// Carries the Windows 2000/XP driver options into a staged driver INF.
#pragma once

#include <string>

#include "driver/inf_option_states.h"
#include "platform/platform.h"

// Rewrites, in place, the value digit of the INF's "EnableLegacy" line ("2"
// when the legacy device is disabled, otherwise untouched) and of its
// "JackConfig" line (the jack configuration, always). Only the first line of
// each kind that starts with the exact text is changed, one byte each; the
// file keeps its length. A file that does not open for update is skipped.
void PatchInfOptions(platform::Platform& os, InfOptionStates& options,
                     const std::string& infPath);
