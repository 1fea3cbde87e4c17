// Carries the Windows 2000/XP driver options into a staged driver INF.
#pragma once

#include <string>

#include "driver/inf_option_states.h"
#include "platform/platform.h"

// The two option lines as the shipped INF has them, each found only where it
// stands byte for byte at the start of a line. Both are 55 characters long,
// padded so that the value byte's low digit lies at the same offset.
inline constexpr const char* kEnableLegacyLine =
    "HKR,\"Settings\",\"EnableLegacy\",    0x00010001,0x03,0,0,0";
inline constexpr const char* kJackConfigLine =
    "HKR,\"Settings\",\"JackConfig\",      0x00010001,0x05,0,0,0";

// Rewrites, in place, the value digit of the INF's "EnableLegacy" line ("2"
// when the legacy device is disabled, otherwise untouched) and of its
// "JackConfig" line (the jack configuration, always). Only the first line of
// each kind that starts with the exact text is changed, one byte each; the
// file keeps its length. A file that does not open for update is skipped.
void PatchInfOptions(platform::Platform& os, InfOptionStates& options,
                     const std::string& infPath);
