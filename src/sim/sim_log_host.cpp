#include "sim/sim_log_host.h"

namespace sim {

SimLogHost::SimLogHost(SimContext& context, SimFileSystem& files)
    : messages{{2, "The system cannot find the file specified."},
               {3, "The system cannot find the path specified."},
               {5, "Access is denied."},
               {259, "No more data is available."}},
      m_context(context),
      m_files(files)
{
}

std::uint32_t SimLogHost::Milliseconds()
{
    return static_cast<std::uint32_t>(m_context.now);
}

std::string SimLogHost::ErrorText(std::uint32_t code)
{
    const std::string detail = std::to_string(code);
    if (!m_context.Succeeds("FormatMessageA", detail))
        return std::string();
    auto message = messages.find(code);
    return message == messages.end() ? std::string() : message->second;
}

std::string SimLogHost::WindowsDirectory()
{
    const std::string detail = m_files.windowsDirectory + " (for the log)";
    if (!m_context.Succeeds("GetWindowsDirectoryA", detail))
        return std::string();
    return m_files.windowsDirectory;
}

logging::PathLook SimLogHost::Look(const std::string& path, std::size_t count)
{
    using Kind = logging::PathLook::Kind;
    const std::string forTheLog = " (for the log)";
    if (m_context.Fails("FindFirstFileA", path + forTheLog, error::kAccessDenied))
        return {Kind::Other, ""};
    if (!m_files.Exists(path)) {
        m_context.Record("FindFirstFileA", path + forTheLog + " (not found)");
        return {Kind::Nothing, ""};
    }
    const bool folder = m_files.IsFolder(path);
    m_context.Record("FindFirstFileA", path + forTheLog + (folder ? " (folder)" : ""));
    if (folder || !m_context.Succeeds("fopen", path + " rb" + forTheLog))
        return {Kind::Other, ""};
    return {Kind::File, m_files.Read(path).value_or("").substr(0, count)};
}

bool SimLogHost::Append(const std::string& path, const std::string& bytes)
{
    const std::string detail = path + " ab";
    if (m_context.Fails("fopen", detail))
        return false;
    std::string text;
    m_files.Load(path, text);
    const bool written = m_files.Store(path, text + bytes);
    m_context.Record("fopen", detail + (written ? "" : " (not opened)"));
    return written;
}

}  // namespace sim
