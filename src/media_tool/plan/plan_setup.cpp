#include "media_tool/plan/plan_setup.h"

#include "sim/windows_versions.h"

const std::vector<WindowsChoice>& AllWindows()
{
    static const std::vector<WindowsChoice> all = {
        {"95", "Windows 95", versions::kWindows95},
        {"98", "Windows 98", versions::kWindows98},
        {"me", "Windows ME", versions::kWindowsMe},
        {"nt4", "Windows NT 4", versions::kWindowsNt4},
        {"2000", "Windows 2000", versions::kWindows2000},
        {"xp", "Windows XP", versions::kWindowsXp},
    };
    return all;
}

const WindowsChoice* FindWindows(const std::string& name)
{
    for (const WindowsChoice& windows : AllWindows()) {
        if (name == windows.name)
            return &windows;
    }
    return nullptr;
}
