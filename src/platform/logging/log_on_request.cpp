#include "platform/logging/log_on_request.h"

#include "platform/logging/logged_platform.h"

namespace logging {

int RunWithLogOnRequest(CWinApp& app, platform::Platform& os, LogHost& host, char* commandLine)
{
    // Taken before the application upper-cases the command line in place.
    RunLog log(host, commandLine ? commandLine : "");
    log.Begin(os.processes.EnvironmentVariable(kLogVariable));
    LoggedPlatform logged(os, log);
    const int code = AfxWinMain(app, logged.Services(), commandLine);
    log.Finish();
    return code;
}

}  // namespace logging
