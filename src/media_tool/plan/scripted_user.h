// The user of a plan: answers each of the program's dialogs as the answers
// say, clicking only what a person could click (the control shown and
// enabled). Message boxes need no script: the simulation answers them OK.
#pragma once

#include "media_tool/plan/plan_setup.h"
#include "sim/sim_dialogs.h"

void AnswerDialogs(sim::SimDialogs& dialogs, const UserAnswers& answers);
