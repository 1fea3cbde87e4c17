#include "platform/logging/logged_platform.h"

namespace logging {

LoggedPlatform::LoggedPlatform(platform::Platform& inner, RunLog& log)
    : m_version(inner.version, log, inner.errors),
      m_registry(inner.registry, log, inner.errors),
      m_profiles(inner.profiles, log, inner.errors),
      m_files(inner.files, log, inner.errors),
      m_processes(inner.processes, log, inner.errors),
      m_desktop(inner.desktop, log, inner.errors),
      m_clock(inner.clock, log, inner.errors),
      m_security(inner.security, log, inner.errors),
      m_devices(inner.devices, log, inner.errors),
      m_mixer(inner.mixer, log, inner.errors),
      m_dialogs(inner.dialogs, log, inner.errors),
      m_errors(inner.errors, log),
      m_services{m_version,  m_registry, m_profiles, m_files,   m_processes, m_desktop,
                 m_clock,    m_security, m_devices,  m_mixer,   m_dialogs,   m_errors}
{
}

}  // namespace logging
