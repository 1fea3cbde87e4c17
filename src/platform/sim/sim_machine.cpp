#include "platform/sim/sim_machine.h"

namespace sim {

SimMachine::SimMachine()
    : m_platform{version, registry, profiles, files, processes, desktop,
                 clock,   security, devices,  mixer, dialogs,   errors}
{
    files.AddFolder("C:\\WINDOWS\\INF");
    registry.CreateKey(platform::RootKey::LocalMachine,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

}  // namespace sim
