// What every logged service shares: the run's log, and the last error of
// the services behind the layer, read right after a call that failed.
#pragma once

#include "platform/errors.h"
#include "platform/logging/run_log.h"

namespace logging {

class LoggedService {
protected:
    LoggedService(RunLog& log, platform::Errors& errors) : m_log(log), m_errors(errors) {}

    bool Recording() const { return m_log.Recording(); }
    // The thread's last error after a call that failed, 0 after one that
    // succeeded. Read at once after the call, as an argument of the line.
    std::uint32_t ErrorIf(bool failed) { return failed ? m_errors.LastError() : 0; }

    RunLog& m_log;
    platform::Errors& m_errors;
};

}  // namespace logging
