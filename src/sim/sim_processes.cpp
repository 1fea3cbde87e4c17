#include "sim/sim_processes.h"

#include <algorithm>

#include "common/ascii.h"

namespace sim {

namespace {

// The ShowWindow command as its constant is named.
std::string ShowName(int show)
{
    switch (show) {
    case platform::kShowHide:
        return "SW_HIDE";
    case platform::kShowShow:
        return "SW_SHOW";
    default:
        return std::to_string(show);
    }
}

bool HasExtension(const std::string& path)
{
    std::size_t slash = path.rfind('\\');
    std::size_t dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

}  // namespace

void SimProcesses::Define(const std::string& image, const SimProgram& program)
{
    m_programs[AsciiUpper(m_files.FullPath(image))] = program;
}

std::optional<std::string> SimProcesses::ResolveImage(const std::string& commandLine) const
{
    auto existing = [this](std::string candidate) -> std::optional<std::string> {
        if (!HasExtension(candidate))
            candidate += ".exe";
        if (m_files.Exists(candidate) && !m_files.IsFolder(candidate))
            return m_files.FullPath(candidate);
        return std::nullopt;
    };
    if (!commandLine.empty() && commandLine[0] == '"') {
        std::size_t close = commandLine.find('"', 1);
        return existing(commandLine.substr(1, close == std::string::npos ? std::string::npos
                                                                         : close - 1));
    }
    // Unquoted, Windows tries each text up to a blank in turn: "C:\Program"
    // before "C:\Program Files\x.exe".
    for (std::size_t blank = commandLine.find(' '); blank != std::string::npos;
         blank = commandLine.find(' ', blank + 1)) {
        if (auto image = existing(commandLine.substr(0, blank)))
            return image;
    }
    return existing(commandLine);
}

std::size_t SimProcesses::OpenHandleCount() const
{
    return static_cast<std::size_t>(std::count_if(m_running.begin(), m_running.end(),
        [](const auto& entry) { return !entry.second.released; }));
}

std::vector<std::string> SimProcesses::OpenHandles() const
{
    std::vector<std::string> open;
    for (const auto& [handle, running] : m_running) {
        if (!running.released)
            open.push_back(running.commandLine);
    }
    return open;
}

std::string SimProcesses::ProgramName()
{
    // The C runtime's __argv: without it the name is empty.
    if (m_context.Fails("__argv", ""))
        return std::string();
    m_context.Record("__argv", programName);
    return programName;
}

std::string SimProcesses::ModulePath()
{
    if (m_context.Fails("GetModuleFileNameA", "", error::kNotEnoughMemory))
        return std::string();
    m_context.Record("GetModuleFileNameA", modulePath);
    return modulePath;
}

void SimProcesses::SetEnvironment(const std::string& name, const std::string& value)
{
    m_environment[AsciiUpper(name)] = value;
}

std::optional<std::string> SimProcesses::Environment(const std::string& name) const
{
    auto set = m_environment.find(AsciiUpper(name));
    if (set != m_environment.end())
        return set->second;
    if (EqualNoCase(name, "SystemRoot") || EqualNoCase(name, "windir"))
        return m_files.windowsDirectory;
    return std::nullopt;
}

// As Windows expands: a '%' that does not open a known name is copied, and
// the search for a reference goes on from the next character.
std::string SimProcesses::ExpandEnvironment(const std::string& text)
{
    if (m_context.Fails("ExpandEnvironmentStringsA", text, error::kNotEnoughMemory))
        return text;
    std::string expanded;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t close = text[at] == '%' ? text.find('%', at + 1) : std::string::npos;
        std::optional<std::string> value;
        if (close != std::string::npos && close > at + 1)
            value = Environment(text.substr(at + 1, close - at - 1));
        if (value) {
            expanded += *value;
            at = close + 1;
        } else {
            expanded += text[at++];
        }
    }
    m_context.Record("ExpandEnvironmentStringsA", text + " -> " + expanded);
    return expanded;
}

std::string SimProcesses::Detail(const std::string& commandLine, int show)
{
    return commandLine + " show=" + std::to_string(show);
}

std::optional<std::string> SimProcesses::EnvironmentVariable(const std::string& name)
{
    if (m_context.Fails("GetEnvironmentVariableA", name))
        return std::nullopt;
    std::optional<std::string> value = Environment(name);
    if (value && value->empty())
        value.reset();
    m_context.Record("GetEnvironmentVariableA", name + (value ? " = " + *value : " (not set)"));
    return value;
}

std::optional<std::string> SimProcesses::Launch(const std::string& function,
                                                const std::string& commandLine, int show)
{
    auto image = ResolveImage(commandLine);
    m_context.Record(function, Detail(commandLine, show) + (image ? "" : " (not found)"));
    std::vector<SimEffectField> fields{TextField("command_line", commandLine),
                                       TextField("current_dir", m_files.Current()),
                                       TextField("show", ShowName(show))};
    if (!image)
        fields.push_back(TextField("error", "program not found"));
    m_context.Effect("start", fields);
    if (!image) {
        m_context.lastError = error::kFileNotFound;
        return std::nullopt;
    }
    m_started.push_back(
        {function, commandLine, *image, show, m_files.Current(), m_context.now});
    auto program = m_programs.find(AsciiUpper(*image));
    if (program != m_programs.end() && program->second.onStart)
        program->second.onStart();
    return image;
}

std::uint32_t SimProcesses::RunCommand(const std::string& commandLine, int show)
{
    // WinExec answers a failure with a number below 32: 0 when Windows ran
    // out of resources, 2 for a program not found.
    if (m_context.Fails("WinExec", Detail(commandLine, show), error::kNotEnoughMemory))
        return 0;
    return Launch("WinExec", commandLine, show) ? 33 : 2;
}

std::optional<platform::ProcessHandle> SimProcesses::Start(const std::string& commandLine,
                                                           int show)
{
    if (m_context.Fails("CreateProcessA", Detail(commandLine, show), error::kNotEnoughMemory))
        return std::nullopt;
    auto image = Launch("CreateProcessA", commandLine, show);
    if (!image)
        return std::nullopt;
    auto program = m_programs.find(AsciiUpper(*image));
    Running running{program != m_programs.end() ? program->second : SimProgram{},
                    m_context.now, commandLine};
    std::uintptr_t handle = m_nextHandle++;
    m_running[handle] = running;
    return static_cast<platform::ProcessHandle>(handle);
}

SimProcesses::Running& SimProcesses::Get(platform::ProcessHandle process)
{
    auto it = m_running.find(static_cast<std::uintptr_t>(process));
    if (it == m_running.end() || it->second.released)
        throw SimScriptError("process handle used after it was released");
    return it->second;
}

std::uint32_t SimProcesses::WaitForInputIdle(platform::ProcessHandle process,
                                             std::uint32_t milliseconds)
{
    Running& running = Get(process);
    if (!m_context.Succeeds("WaitForInputIdle", std::to_string(milliseconds),
                            error::kInvalidHandle))
        return kWaitFailed;
    if (!running.program.hasMessageQueue)
        return kWaitFailed;  // at once
    std::uint64_t idleAt = running.startedAt + running.program.idleAfter;
    std::uint64_t endsAt = running.startedAt + running.program.runsFor;
    std::uint64_t until = std::min({idleAt, endsAt, m_context.now + milliseconds});
    if (until > m_context.now)
        m_context.now = until;
    return m_context.now >= std::min(idleAt, endsAt) ? 0 : platform::kWaitTimeout;
}

std::uint32_t SimProcesses::WaitForExit(platform::ProcessHandle process, std::uint32_t milliseconds)
{
    Running& running = Get(process);
    if (!m_context.Succeeds("WaitForSingleObject", std::to_string(milliseconds),
                            error::kInvalidHandle))
        return kWaitFailed;
    std::uint64_t endsAt = running.startedAt + running.program.runsFor;
    std::uint64_t until = std::min(endsAt, m_context.now + milliseconds);
    if (until > m_context.now)
        m_context.now = until;
    return m_context.now >= endsAt ? platform::kWaitObject0 : platform::kWaitTimeout;
}

std::uint32_t SimProcesses::ExitCode(platform::ProcessHandle process)
{
    Running& running = Get(process);
    // A process that cannot be asked is not taken for a running one, as the
    // adapter answers when GetExitCodeProcess fails.
    if (!m_context.Succeeds("GetExitCodeProcess", "", error::kInvalidHandle))
        return 0;
    bool ended = m_context.now >= running.startedAt + running.program.runsFor;
    if (ended)
        return running.program.exitCode;
    if (m_context.now != m_lastPollTime) {
        m_lastPollTime = m_context.now;
        m_pollsWithoutTime = 0;
    }
    if (++m_pollsWithoutTime > kSpinLimit)
        throw SimHang("busy wait: a running process was polled " +
                      std::to_string(kSpinLimit) + " times while no time passed");
    return platform::kStillActive;
}

void SimProcesses::Release(platform::ProcessHandle process)
{
    Get(process).released = true;
    m_context.Release("CloseHandle", "process");
}

void SimProcesses::Exit(int code)
{
    m_context.AlwaysSucceeds("exit", std::to_string(code));
    throw SimExit{code};
}

}  // namespace sim
