// A plan as text for people (one line per event) and as JSON for programs.
#pragma once

#include <string>

#include "media_tool/plan/plan.h"

std::string PlanText(const PlanResult& plan);

// {"windows", "command_line", "route", "exit_code", "reboot_requested",
// "virtual_ms", "events": [{"t_ms", "kind", and the event's own fields}]},
// with "stopped" added only for a run that did not end by itself.
std::string PlanJson(const PlanResult& plan);

// The run as above, with "media" (the folder or image) before it and after
// it "restart_runs" (the run after the restart, as above, when there is one)
// and "changes" (see change_report.h); the text names the media first.
std::string PlanText(const MediaPlan& plan);
std::string PlanJson(const MediaPlan& plan);

// One event as text, without its time and kind.
std::string EventText(const PlanEvent& event);
