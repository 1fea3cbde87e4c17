// What the install log needs of the simulated machine: the virtual clock, a
// table of the system's message texts and files in its file system (which
// refuse to be written on a read-only drive, a read-only file or a missing
// folder). The log's own calls are recorded with the machine's calls, so a
// test sees that a run without a log makes none of them.
#pragma once

#include <map>
#include <string>

#include "logging/log_host.h"
#include "sim/sim_context.h"
#include "sim/sim_files.h"

namespace sim {

class SimLogHost : public logging::LogHost {
public:
    SimLogHost(SimContext& context, SimFileSystem& files);

    // FormatMessageA's texts by error code; a few common ones are there.
    std::map<std::uint32_t, std::string> messages;

    std::uint32_t Milliseconds() override;
    // The machine's last error, read without counting as a call.
    std::uint32_t LastError() override { return m_context.lastError; }
    std::string ErrorText(std::uint32_t code) override;
    std::string WindowsDirectory() override;
    // A search for the path, and for a file a read of its first bytes: fails
    // as the test asks with faults on "FindFirstFileA" or "fopen" "<path> rb".
    logging::PathLook Look(const std::string& path, std::size_t count) override;
    // Fails as the test asks with faults on "fopen" "<path> ab".
    bool Append(const std::string& path, const std::string& bytes) override;

private:
    SimContext& m_context;
    SimFileSystem& m_files;
};

}  // namespace sim
