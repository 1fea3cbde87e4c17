#include "package/package_setup.h"

#include "common/command_text.h"
#include "common/messages.h"
#include "common/windows_directory.h"
#include "package/audio_applications.h"
#include "package/previous_package.h"

namespace {

constexpr const char* kHandshakeFile = "QNISETUP.INI";

}  // namespace

PackageSetup FindPackageSetup(platform::Platform& os, const std::string& sourceDir)
{
    PackageSetup setup;
    if (os.files.ChangeDirectory(sourceDir + "W2K-ME\\"))
        setup.path = sourceDir + "W2K-ME\\app\\Setup.exe";
    else
        setup.path = sourceDir + "WIN_ME\\app\\Setup.exe";
    setup.exists = os.files.OpensForReading(setup.path);
    return setup;
}

void WritePackageHandshake(platform::Platform& os, const std::string& sourceDir,
                           bool installDriver)
{
    const std::string file = WindowsDirectoryPath(os.files) + kHandshakeFile;
    os.profiles.WriteString("Need_To_Reboot", "Install", "NO", file);
    os.profiles.WriteString("Need_To_InstallDriver", "Install", installDriver ? "YES" : "NO", file);
    os.profiles.WriteString("Need_To_InstallDriver", "Command",
                            installDriver ? sourceDir + "Setup.exe" : std::string(), file);
}

void LaunchPackageSetup(platform::Platform& os, const std::string& path)
{
    // A media folder such as "E:\Audio Setup\" needs the quotes, or Windows
    // would look for "E:\Audio.exe" first.
    if (auto setup = os.processes.Start(ProgramCommand(path), platform::kShowShow))
        os.processes.Release(*setup);
}

void InstallPackageFromStartup(platform::Platform& os, const std::string& sourceDir)
{
    CloseAudioApplications(os);
    UninstallPreviousPackage(os);
    PackageSetup setup = FindPackageSetup(os, sourceDir);
    if (setup.exists)
        LaunchPackageSetup(os, setup.path);
    else
        os.desktop.ShowMessage(platform::kNoWindow, kMissingPackageSetup, kSetupCaption,
                               platform::kMessageBoxOk);
    platform::EndProgram(os.processes, 0);
}
