#include "sim/sim_machine.h"

#include <utility>

namespace sim {

namespace {

UnusedScriptReporter& Reporter()
{
    static UnusedScriptReporter reporter;
    return reporter;
}

}  // namespace

UnusedScriptReporter SetUnusedScriptReporter(UnusedScriptReporter reporter)
{
    std::swap(Reporter(), reporter);
    return reporter;
}

SimMachine::SimMachine()
    : m_platform{version, registry, profiles, files, processes, desktop,
                 clock,   security, devices,  mixer, dialogs,   errors}
{
    files.AddFolder("C:\\WINDOWS\\INF");
    registry.CreateKey(platform::RootKey::LocalMachine,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

SimMachine::~SimMachine()
{
    if (!Reporter())
        return;
    for (const std::string& unused : UnusedScripts())
        Reporter()(unused);
}

std::vector<std::string> SimMachine::LeftOpen() const
{
    std::vector<std::string> open;
    for (const std::string& key : registry.OpenKeys())
        open.push_back("registry key " + key);
    for (const std::string& commandLine : processes.OpenHandles())
        open.push_back("process handle of " + commandLine);
    for (int token = 0; token < security.openTokens; ++token)
        open.push_back("process token");
    for (std::size_t set = 0; set < devices.OpenDeviceSets(); ++set)
        open.push_back("device information set");
    for (std::size_t list = 0; list < devices.OpenSourceLists(); ++list)
        open.push_back("queried source list");
    for (const std::string& pattern : files.OpenSearches())
        open.push_back("file search " + pattern);
    for (const std::string& path : files.OpenStreams())
        open.push_back("stream on " + path);
    for (std::size_t paint = 0; paint < dialogs.OpenPaintContexts(); ++paint)
        open.push_back("paint context");
    if (dialogs.WaitCursorDepth() != 0)
        open.push_back("wait cursor at depth " + std::to_string(dialogs.WaitCursorDepth()));
    return open;
}

std::vector<std::string> SimMachine::UnusedScripts() const
{
    std::vector<std::string> unused = dialogs.UnusedScripts();
    for (const std::string& fault : faults.Unused())
        unused.push_back("fault " + fault);
    return unused;
}

}  // namespace sim
