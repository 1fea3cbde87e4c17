// What every logged service shares: the run's log, and the last error of
// the services behind the layer, read right after a call that failed.
#pragma once

#include "logging/run_log.h"

namespace logging {

class LoggedService {
protected:
    explicit LoggedService(RunLog& log) : m_log(log) {}

    bool Recording() const { return m_log.Recording(); }
    // The thread's last error after a call that failed, 0 after one that
    // succeeded. Read at once after the call, as an argument of the line,
    // through the log's own door: the system's record of calls stays as it is.
    std::uint32_t ErrorIf(bool failed) { return failed ? m_log.LastError() : 0; }

    RunLog& m_log;
};

}  // namespace logging
