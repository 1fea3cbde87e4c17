#include "logging/logged_platform.h"

namespace logging {

LoggedPlatform::LoggedPlatform(platform::Platform& inner, RunLog& log)
    : m_version(inner.version, log),
      m_registry(inner.registry, log),
      m_profiles(inner.profiles, log),
      m_files(inner.files, log),
      m_processes(inner.processes, log),
      m_desktop(inner.desktop, log),
      m_clock(inner.clock, log),
      m_security(inner.security, log),
      m_devices(inner.devices, log),
      m_mixer(inner.mixer, log),
      m_dialogs(inner.dialogs, log),
      m_errors(inner.errors, log),
      m_services{m_version,  m_registry, m_profiles, m_files,   m_processes, m_desktop,
                 m_clock,    m_security, m_devices,  m_mixer,   m_dialogs,   m_errors}
{
}

}  // namespace logging
