#include "app/setup_app.h"

#include "app/command_line.h"
#include "app/hand_over.h"
#include "app/mixer_replacement.h"
#include "app/preferences.h"
#include "app/route.h"
#include "app/silent_install.h"
#include "common/exit_codes.h"
#include "common/run_key.h"
#include "common/source_dir.h"
#include "dialogs/driver_setup.h"
#include "dialogs/setup_dlg.h"
#include "dialogs/win2000_setup_dlg.h"
#include "package/package_setup.h"

bool CSetupApp::InitInstance()
{
    platform::Platform& system = os();

    UpperCaseInPlace(m_lpCmdLine);
    const std::string commandLine = m_lpCmdLine ? m_lpCmdLine : "";

    // The run after the restart does the replacement or nothing at all: it
    // comes back at every logon while its Run value stays, so it must never
    // show anything. A user who may not write the Run key leaves the value
    // for the next logon of one who may.
    if (IsReplaceMixerLiteral(commandLine)) {
        if (auto runKey = OpenRunKey(system.registry))
            ReplaceMixer(system, *runKey);
        return false;
    }

    SetDefaultSoundFormat(system);

    if (auto runKey = OpenRunKey(system.registry)) {
        system.registry.DeleteValue(*runKey, kPackageRunValue);
        system.registry.CloseKey(*runKey);
    }

    m_sourceDir = QuerySourceDir(system);
    const std::string setupIni = m_sourceDir + "setup.ini";
    const SetupOptions options = ReadSetupOptions(system.profiles, setupIni);
    ApplyCdPlayerSetting(system, setupIni);
    m_osClass = QueryOsClass(system.version);

    Dispatch(commandLine, options);
    return false;
}

void CSetupApp::Dispatch(const std::string& commandLine, const SetupOptions& options)
{
    const Route route = ChooseRoute(m_osClass, commandLine, options);
    switch (route) {
    case Route::HandOver:
        HandOverToMediaSetup(os(), m_sourceDir, commandLine, options.driverOnly);
        return;
    case Route::Package:
        InstallPackageFromStartup(os(), m_sourceDir);  // ends the process
    case Route::DriverSwitch:
        InstallDriverFromStartup(DriverInstallVariant::DriverSwitch);
        return;
    case Route::Silent:
        m_exitCode = InstallDriverSilently(os(), StartupRequest(SilentInstallVariant(options)));
        return;
    case Route::SilentUnavailable:
        m_exitCode = kExitNoUnattendedPath;  // nothing is handed over or started
        return;
    default:
        break;
    }

    // Every path that the command line does not decide passes through here.
    os().dialogs.Enable3dControls();
    switch (route) {
    case Route::MainDialog: {
        CSetupDlg dialog(*this);
        RunAsMainWindow(dialog);
        break;
    }
    case Route::Win2000Dialog: {
        CWin2000SetupDlg dialog(os());
        RunAsMainWindow(dialog);
        break;
    }
    case Route::WebSilent:
        InstallDriverFromStartup(DriverInstallVariant::WebSilent);
        break;
    default:
        break;  // nothing is installed
    }
}

void CSetupApp::RunAsMainWindow(CDialog& dialog)
{
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

DriverInstallRequest CSetupApp::StartupRequest(DriverInstallVariant variant) const
{
    DriverInstallRequest request;
    request.variant = variant;
    request.sourceDir = m_sourceDir;
    request.windowsXP = m_osClass.m_bWinXP;
    return request;
}

void CSetupApp::InstallDriverFromStartup(DriverInstallVariant variant)
{
    RunDriverSetup(os(), StartupRequest(variant));
}
