// The program's start behind the logging layer: the layer stands in front
// of the platform for every run and writes a log only when one is asked for.
#pragma once

#include "framework/winapp.h"
#include "logging/log_host.h"
#include "platform/platform.h"

namespace logging {

// Looks up W2KSETUP_LOG once, runs the application on the logged platform
// (AfxWinMain) and ends the log when the application returns; a run that
// ends through exit has ended it already.
int RunWithLogOnRequest(CWinApp& app, platform::Platform& os, LogHost& host, char* commandLine);

}  // namespace logging
