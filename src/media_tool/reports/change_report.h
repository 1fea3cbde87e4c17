// A change of the machine as JSON, in the form `w2kmedia try` reports the
// changes of a run under Wine, and as one line for people.
#pragma once

#include <string>

#include "media_tool/plan/machine_changes.h"

// {"kind": "file", "change", "path", "before", "after"} with each state
// {"size", "sha256"} or null; {"kind": "value", "change", "key", "name",
// "before", "after"} with each state {"type", "data"} or null: the text of
// a string value (to its first zero), the number of a REG_DWORD, else the
// bytes in hex.
std::string ChangeJson(const MachineChange& change);

// "file added: C:\...\QNAUDIO.INF (5120 bytes)",
// "value added: HKLM\...\Run "Replace Quarnel Mixer" = REG_SZ "C:\...""
std::string ChangeText(const MachineChange& change);
