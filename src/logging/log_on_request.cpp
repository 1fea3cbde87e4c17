#include "logging/log_on_request.h"

#include "logging/logged_platform.h"

namespace logging {

int RunWithLogOnRequest(CWinApp& app, platform::Platform& os, LogHost& host, char* commandLine)
{
    // Taken before the application upper-cases the command line in place.
    RunLog log(host, commandLine ? commandLine : "");
    LoggedPlatform logged(os, log);
    // Through the layer: the lookup is the log's first line.
    log.Begin(logged.Services().processes.EnvironmentVariable(kLogVariable));
    const int code = AfxWinMain(app, logged.Services(), commandLine);
    log.Finish(code);
    return code;
}

}  // namespace logging
