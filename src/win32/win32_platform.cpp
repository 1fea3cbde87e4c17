#include "win32/win32_platform.h"

namespace win32 {

Win32Platform::Win32Platform()
    : m_services{m_version,  m_registry, m_profiles, m_files,   m_processes, m_desktop,
                 m_clock,    m_security, m_devices,  m_mixer,   m_dialogs,   m_errors}
{
}

}  // namespace win32
