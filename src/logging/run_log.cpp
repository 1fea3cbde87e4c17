#include "logging/run_log.h"

#include <algorithm>
#include <cstring>

#include "logging/own_log_file.h"

namespace logging {

namespace {

// Room kept for the header, the line saying the rest was cut and the outcome.
constexpr std::size_t kEndReserve = 8 * 1024;
constexpr std::size_t kLongestOutcome = 4 * 1024;
constexpr std::size_t kTimeWidth = 7;
constexpr std::size_t kStepWidth = 30;
// Error codes above this show in hexadecimal, as the device installation's
// own (0xE000020B) are written.
constexpr std::uint32_t kLargestDecimalError = 0xFFFF;

Step FirstStepOf(std::optional<Route> route)
{
    if (!route)
        return Step::NothingToInstall;
    switch (*route) {
    case Route::HandOver:
        return Step::HandOver;
    case Route::Package:
        return Step::Package;
    case Route::DriverSwitch:
        return Step::DriverWithoutDialog;
    case Route::MainDialog:
        return Step::MainDialog;
    case Route::Win2000Dialog:
        return Step::Win2000Dialog;
    case Route::WebSilent:
        return Step::UnattendedDriver;
    case Route::Silent:
        return Step::SilentDriver;
    case Route::WebNothing:
    case Route::SilentUnavailable:
        break;
    }
    return Step::NothingToInstall;
}

}  // namespace

std::optional<std::string> LogFilePath(const std::string& requested, LogHost& host)
{
    // A value such as "C:\My Logs\setup.log" comes with its quotes from
    // the variable; setup.ini's reading has dropped them already.
    const bool quoted = requested.size() >= 2 && requested.front() == '"' && requested.back() == '"';
    std::string path = quoted ? requested.substr(1, requested.size() - 2) : requested;
    if (path.empty())
        return std::nullopt;

    const bool hasDrive = path.size() >= 2 && path[1] == ':';
    const bool fromRoot = path[0] == '\\' || path[0] == '/';
    if (!hasDrive && !fromRoot) {
        std::string folder = host.WindowsDirectory();
        if (!folder.empty() && folder.back() != '\\')
            folder += '\\';
        path.insert(0, folder);
    }
    return path;
}

RunLog::RunLog(LogHost& host, const std::string& commandLine)
    : m_host(host),
      m_start(host.Milliseconds()),
      m_header(commandLine),
      m_steps(m_header.IsReplacementRun() ? Step::MixerReplacement : Step::StartUp)
{
    if (m_header.IsReplacementRun())
        m_outcome.ReplacementRun();
}

void RunLog::Begin(const std::optional<std::string>& variable)
{
    if (variable)
        ChoosePath(*variable);
    // The run after the restart never reads setup.ini: nothing else can ask
    // for its log.
    if (m_state == State::Undecided && m_header.IsReplacementRun())
        GiveUp();
}

void RunLog::ChoosePath(const std::string& requested)
{
    std::optional<std::string> path = LogFilePath(requested, m_host);
    if (!path)
        return;
    // Decided once, before anything is written: from then on the file is
    // the one this run created or a log already.
    if (!IsOwnLogFile(*path, kBlockStart, m_host)) {
        GiveUp();
        return;
    }
    m_path = *path;
    m_state = State::Waiting;
}

// "  35211 ms  direct update     ": the time right-aligned, the step padded.
std::string RunLog::Prefix(const char* step) const
{
    std::string prefix = Format("%u ms  %s", m_host.Milliseconds() - m_start, step);
    const std::size_t timeLength = prefix.find(' ');
    if (timeLength < kTimeWidth)
        prefix.insert(0, kTimeWidth - timeLength, ' ');
    prefix.resize(std::max(prefix.size(), kTimeWidth + 5 + kStepWidth), ' ');
    return prefix.append(2, ' ');
}

void RunLog::Call(std::uint32_t error, const char* pattern, ...)
{
    if (m_state == State::Off)
        return;
    std::string call;
    va_list arguments;
    va_start(arguments, pattern);
    AppendFormatV(call, pattern, arguments);
    va_end(arguments);
    // A value may hold a line break (a registry text, say): a call is one line.
    std::replace(call.begin(), call.end(), '\r', ' ');
    std::replace(call.begin(), call.end(), '\n', ' ');

    std::string line = Prefix(StepName(m_steps.Enter(call))) + call;
    if (error != 0)
        line += Format(error > kLargestDecimalError ? ", error 0x%X" : ", error %u", error);

    if (m_state == State::Writing) {
        std::string out;
        Emit(out, line, error);
        Flush(out);
        return;
    }
    // Whatever waits beyond the limit would be cut when written.
    if (m_waiting.size() + line.size() >= kRunLimit)
        return;
    m_waiting += line + '\n';
    m_waitingErrors.append(reinterpret_cast<const char*>(&error), sizeof error);
}

void RunLog::Emit(std::string& out, const std::string& line, std::uint32_t error)
{
    if (m_cut)
        return;
    std::string text = line;
    if (error != 0) {
        const std::string message = m_host.ErrorText(error);
        if (!message.empty())
            text.append(": ").append(message);
    }
    text += "\r\n";
    if (m_written + out.size() + text.size() <= kRunLimit - kEndReserve) {
        out += text;
        return;
    }
    m_cut = true;
    out += Prefix(StepName(m_steps.Current())) +
           "(the rest of this run is left out: a run writes at most 1 MB)\r\n";
}

void RunLog::Flush(const std::string& out)
{
    if (out.empty() || m_state == State::Off)
        return;
    if (!m_host.Append(m_path, out)) {
        GiveUp();
        return;
    }
    m_written += out.size();
}

void RunLog::WriteHeader()
{
    // The top first, by itself: a log that cannot be written costs one try.
    m_state = State::Writing;
    Flush(m_header.Text());
    if (m_state != State::Writing)
        return;
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = 0; at < m_waitingErrors.size(); at += sizeof(std::uint32_t)) {
        std::uint32_t error = 0;
        std::memcpy(&error, m_waitingErrors.data() + at, sizeof error);
        const std::size_t end = m_waiting.find('\n', start);
        Emit(out, m_waiting.substr(start, end - start), error);
        start = end + 1;
    }
    GiveUpWaiting();
    Flush(out);
}

void RunLog::GiveUpWaiting()
{
    std::string().swap(m_waiting);
    std::string().swap(m_waitingErrors);
}

void RunLog::GiveUp()
{
    m_state = State::Off;
    GiveUpWaiting();
}

void RunLog::SetupIniRead(const std::string& setupIni, const std::string& logFile)
{
    m_header.SetupIni(setupIni, logFile);
    if (m_state != State::Undecided)
        return;
    ChoosePath(logFile);
    if (m_state == State::Undecided)
        GiveUp();
}

void RunLog::WindowsVersion(const platform::VersionInfo& version)
{
    if (m_header.WindowsKnown())
        return;
    m_header.Windows(version);
    const std::optional<Route> route = m_header.ChosenRoute();
    m_outcome.RouteChosen(route);
    m_steps.SetRouteStep(FirstStepOf(route));
    if (m_state == State::Waiting)
        WriteHeader();
}

const char* RunLog::WindowText(platform::WindowHandle window) const
{
    if (window == platform::kNoWindow)
        return "NULL";
    return window == m_desktop ? "desktop" : "a window";
}

void RunLog::Finish(int exitCode)
{
    if (m_state == State::Undecided)
        GiveUp();
    if (m_state == State::Waiting)
        WriteHeader();
    if (m_state != State::Writing)
        return;
    std::string outcome = m_outcome.Sentence();
    if (outcome.size() > kLongestOutcome)
        outcome.resize(kLongestOutcome);
    Flush(Prefix("end of the run") + "Outcome: " + outcome + "\r\n" + Prefix("end of the run") +
          m_outcome.ExitCodeText(exitCode) + "\r\n");
    m_state = State::Off;
}

}  // namespace logging
