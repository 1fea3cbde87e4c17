// The application object: all of the installer's work happens in InitInstance.
#pragma once

#include <string>

#include "app/setup_options.h"
#include "common/os_class.h"
#include "driver/driver_installation.h"
#include "framework/dialog.h"
#include "framework/winapp.h"

class CSetupApp : public CWinApp {
public:
    // Probes the environment, makes the unconditional adjustments and runs
    // exactly one path. Always returns false.
    bool InitInstance() override;
    // The program's exit code: 0 but for "/S", whose code tells its result.
    int ExitInstance() override { return m_exitCode; }

private:
    void Dispatch(const std::string& commandLine, const SetupOptions& options);
    DriverInstallRequest StartupRequest(DriverInstallVariant variant) const;
    void InstallDriverFromStartup(DriverInstallVariant variant);
    // The dialog is the application's main window while it runs; its
    // result is not needed.
    void RunAsMainWindow(CDialog& dialog);

    OsClass m_osClass;
    std::string m_sourceDir;
    int m_exitCode = 0;
};

// The program's one application object.
extern CSetupApp theApp;
