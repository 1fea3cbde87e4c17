#include "app/setup_app.h"

#include "app/command_line.h"
#include "app/hand_over.h"
#include "app/mixer_replacement.h"
#include "app/preferences.h"
#include "common/messages.h"
#include "common/run_key.h"
#include "common/source_dir.h"
#include "dialogs/setup_dlg.h"
#include "dialogs/win2000_setup_dlg.h"
#include "driver/driver_installation.h"
#include "package/package_setup.h"

CSetupApp::CSetupApp() : CWinApp(nullptr) {}

bool CSetupApp::InitInstance()
{
    platform::Platform& system = os();

    UpperCaseInPlace(m_lpCmdLine);
    const std::string commandLine = m_lpCmdLine ? m_lpCmdLine : "";

    if (IsReplaceMixerLiteral(commandLine)) {
        auto runKey = system.registry.OpenKey(platform::RootKey::LocalMachine, kRunKeyPath,
                                              platform::RegAccess::AllAccess);
        if (runKey && ReplaceMixer(system, *runKey))
            return false;
    }

    SetDefaultSoundFormat(system);

    if (auto runKey = system.registry.OpenKey(platform::RootKey::LocalMachine, kRunKeyPath,
                                              platform::RegAccess::AllAccess)) {
        system.registry.DeleteValue(*runKey, kPackageRunValue);
        system.registry.CloseKey(*runKey);
    }

    m_sourceDir = QuerySourceDir(system);
    const std::string setupIni = m_sourceDir + "setup.ini";
    const SetupOptions options = ReadSetupOptions(system.profiles, setupIni);
    ApplyCdPlayerSetting(system, setupIni);
    OsClass& osClass = *this;
    osClass = QueryOsClass(system.version);

    Dispatch(commandLine, options);
    return false;
}

void CSetupApp::Dispatch(const std::string& commandLine, const SetupOptions& options)
{
    if (!m_bWin2000) {
        HandOverToMediaSetup(os(), m_sourceDir, commandLine, options.driverOnly);
        return;
    }
    if (options.webSetup == 0 && IsApLiteral(commandLine))
        InstallPackageFromStartup(os(), m_sourceDir);
    if (options.webSetup == 0 && (IsDriverLiteral(commandLine) || options.driverOnly != 0)) {
        InstallDriverFromStartup(false);
        return;
    }

    os().dialogs.Enable3dControls();
    if (options.webSetup == 0) {
        CSetupDlg dialog(*this);
        RunAsMainWindow(dialog);
    } else if (options.webSetup == 1) {
        if (options.installWdmDriver != 0) {
            CWin2000SetupDlg dialog(os());
            RunAsMainWindow(dialog);
        }
    } else {
        InstallDriverFromStartup(true);
    }
}

void CSetupApp::RunAsMainWindow(CDialog& dialog)
{
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void CSetupApp::InstallDriverFromStartup(bool silentWebSetup)
{
    platform::Platform& system = os();
    system.desktop.ShowMessage(platform::kNoWindow, kDriverNotice, kSetupCaption,
                               platform::kMessageBoxOk);
    if (auto mixer = system.desktop.FindTopLevel("Mixer"))
        system.desktop.SendClose(*mixer);

    BeginWaitCursor();
    DriverInstallRequest request;
    request.variant =
        silentWebSetup ? DriverInstallVariant::WebSilent : DriverInstallVariant::DriverSwitch;
    request.sourceDir = m_sourceDir;
    request.windowsXP = m_bWinXP;
    RunDriverInstallation(system, request);
    EndWaitCursor();
}
