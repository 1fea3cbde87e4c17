#include "common/run_key.h"

std::optional<platform::RegKey> OpenRunKey(platform::Registry& registry)
{
    return registry.OpenKey(platform::RootKey::LocalMachine, kRunKeyPath,
                            platform::RegAccess::AllAccess);
}
