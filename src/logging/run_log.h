// The install log of one run. Every platform call the layer sees becomes a
// line: the time since the start, the step, the call with its arguments and
// its result, and for a failure the error code with the system's text.
//
// The log is asked for by the environment variable W2KSETUP_LOG or by
// setup.ini's [InstallOption] "LogFile" (the variable wins). Until the path
// is known and the Windows version has been asked for, the lines wait in
// memory; when neither asks for a log they are dropped, and from then on
// the layer only forwards. The log appends only to a file of its own (see
// own_log_file.h); it gives up any other path as soon as it is chosen, and a
// log that cannot be written at the first failed write. Either way the run
// goes on as without one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/handles.h"
#include "logging/log_format.h"
#include "logging/log_host.h"
#include "logging/run_header.h"
#include "logging/run_outcome.h"
#include "logging/run_steps.h"

namespace logging {

// The variable that asks for a log, whatever setup.ini says.
inline constexpr const char* kLogVariable = "W2KSETUP_LOG";
// What one run may write: its lines, one saying the rest was cut, and the
// outcome.
inline constexpr std::size_t kRunLimit = 1024 * 1024;

// The file a requested path names: a path without a drive and without a
// leading backslash is taken in the Windows directory. A pair of quotes
// around it is dropped; nothing when no path is left.
std::optional<std::string> LogFilePath(const std::string& requested, LogHost& host);

class RunLog {
public:
    RunLog(LogHost& host, const std::string& commandLine);
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // The start: what the one lookup of the log variable found (nothing
    // when unset).
    void Begin(const std::optional<std::string>& variable);
    // False once the run is known to have no log: the layer then only forwards.
    bool Recording() const { return m_state != State::Off; }
    // The thread's last error, read for the log alone (GetLastError).
    std::uint32_t LastError() { return m_host.LastError(); }

    // One call's line: the call and what it returned, as `pattern` writes
    // them; `error` is the last error read right after a call that failed,
    // 0 for one that succeeded or that sets none.
    void Call(std::uint32_t error, const char* pattern, ...) __attribute__((format(printf, 3, 4)));

    // The system's first read of [InstallOption] in setup.ini, and the
    // "LogFile" value the layer read there itself.
    void SetupIniRead(const std::string& setupIni, const std::string& logFile);
    // What the system's first GetVersionExA reported.
    void WindowsVersion(const platform::VersionInfo& version);

    Step CurrentStep() const { return m_steps.Current(); }
    RunHeader& Header() { return m_header; }
    RunOutcome& Outcome() { return m_outcome; }

    // How a window shows: NULL, desktop (once the layer saw it) or a window.
    void RememberDesktop(platform::WindowHandle desktop) { m_desktop = desktop; }
    const char* WindowText(platform::WindowHandle window) const;

    // The run's end (its exit, or the application's return): the outcome
    // line and the exit code's. Later calls do nothing.
    void Finish(int exitCode);

private:
    enum class State {
        Undecided,  // no variable; setup.ini not read yet
        Waiting,    // a path is known; the header is not written yet
        Writing,
        Off,        // no log, the file could not be written, or the run ended
    };

    std::string Prefix(const char* step) const;
    void ChoosePath(const std::string& requested);
    // Adds one line with its error text to `out`, within the run's limit;
    // the first line that does not fit is replaced by one saying the rest
    // was cut.
    void Emit(std::string& out, const std::string& line, std::uint32_t error);
    // Appends to the file; the first failed write ends the log.
    void Flush(const std::string& out);
    void WriteHeader();
    void GiveUpWaiting();
    void GiveUp();

    LogHost& m_host;
    std::uint32_t m_start;
    RunHeader m_header;
    RunOutcome m_outcome;
    StepTracker m_steps;
    State m_state = State::Undecided;
    std::string m_path;
    // The lines that wait for the header, each ended by '\n', and the error
    // of each (0 for none), four bytes a line: the errors' texts are looked
    // up when the lines are written.
    std::string m_waiting;
    std::string m_waitingErrors;
    std::size_t m_written = 0;
    bool m_cut = false;
    std::optional<platform::WindowHandle> m_desktop;
};

}  // namespace logging
