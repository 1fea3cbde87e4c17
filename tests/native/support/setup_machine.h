// A simulated machine with an install media on drive D: the installer started
// as D:\W2KSETUP.EXE, and a setup.ini the test fills.
#pragma once

#include <string>

#include "sim/sim_machine.h"
#include "support/installer_run.h"

class SetupMachine : public sim::SimMachine {
public:
    SetupMachine();

    static constexpr const char* kMedia = "D:\\";
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    // Writes [section] key=value into the media's setup.ini.
    void SetupIni(const std::string& section, const std::string& key, const std::string& value);
    void InstallOption(const std::string& key, int value);

    // The application package's setup program on the media, in "W2K-ME\app\".
    void AddPackage();

    InstallerRun Run(const std::string& commandLine) { return RunInstaller(*this, commandLine); }

    std::string WindowsFile(const std::string& name) const;
};
