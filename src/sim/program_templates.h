// The program's dialog templates as the simulated Windows needs them: each
// control's id, kind, whether it starts a group, whether it is a tab stop and
// its English caption, and each dialog's title. The compiled resources
// themselves are checked against their full tables elsewhere.
#pragma once

#include "sim/sim_dialogs.h"

// Defines templates 100, 102, 131 and 132, string 101 and icon 128.
void DefineProgramResources(sim::SimDialogs& dialogs);
