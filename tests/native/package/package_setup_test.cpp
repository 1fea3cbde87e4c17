// The package setup program: where it is looked for, the handshake file, its
// start, and the start-up form of the package installation ("/AP").
#include <gtest/gtest.h>

#include "support/expected_texts.h"
#include "package/package_setup.h"
#include "sim/windows_versions.h"
#include "support/setup_machine.h"

namespace {

using platform::RootKey;

constexpr const char* kHandshake = "C:\\WINDOWS\\QNISETUP.INI";

TEST(FindPackageSetup, W2kMeFolderIsPreferredAndStaysCurrent)
{
    SetupMachine machine;
    machine.files.AddFile("D:\\W2K-ME\\app\\Setup.exe", "package");
    machine.files.AddFile("D:\\WIN_ME\\app\\Setup.exe", "older package");
    PackageSetup setup = FindPackageSetup(machine.os(), "D:\\");
    EXPECT_TRUE(setup.exists);
    EXPECT_EQ(setup.path, "D:\\W2K-ME\\app\\Setup.exe");
    EXPECT_EQ(machine.files.Current(), "D:\\W2K-ME");
    EXPECT_EQ(machine.log().Details("fopen"),
              std::vector<std::string>{"D:\\W2K-ME\\app\\Setup.exe rb"});
}

TEST(FindPackageSetup, W2kMeFolderWithoutItsSetupCountsAsMissing)
{
    SetupMachine machine;
    machine.files.AddFolder("D:\\W2K-ME\\drv");
    machine.files.AddFile("D:\\WIN_ME\\app\\Setup.exe", "older package");
    PackageSetup setup = FindPackageSetup(machine.os(), "D:\\");
    EXPECT_FALSE(setup.exists);
    EXPECT_EQ(setup.path, "D:\\W2K-ME\\app\\Setup.exe");
    EXPECT_EQ(machine.log().Count("fopen"), 1u);  // WIN_ME is not looked at
}

TEST(FindPackageSetup, WinMeFolderWithoutW2kMe)
{
    SetupMachine machine;
    machine.files.AddFile("D:\\WIN_ME\\app\\Setup.exe", "older package");
    PackageSetup setup = FindPackageSetup(machine.os(), "D:\\");
    EXPECT_TRUE(setup.exists);
    EXPECT_EQ(setup.path, "D:\\WIN_ME\\app\\Setup.exe");
    EXPECT_EQ(machine.files.Current(), "C:\\");  // only a present folder becomes current

    SetupMachine empty;
    EXPECT_FALSE(FindPackageSetup(empty.os(), "D:\\").exists);
}

TEST(PackageHandshake, CarriesTheDriverRequestOrItsAbsence)
{
    SetupMachine machine;
    WritePackageHandshake(machine.os(), "E:\\Audio Setup\\", true);
    EXPECT_EQ(machine.log().Details("WritePrivateProfileStringA"),
              (std::vector<std::string>{
                  std::string("[Need_To_Reboot] Install=NO ") + kHandshake,
                  std::string("[Need_To_InstallDriver] Install=YES ") + kHandshake,
                  std::string("[Need_To_InstallDriver] Command=E:\\Audio Setup\\Setup.exe ") +
                      kHandshake}));
    EXPECT_EQ(machine.files.Read(kHandshake),
              "[Need_To_Reboot]\r\nInstall=NO\r\n[Need_To_InstallDriver]\r\nInstall=YES\r\n"
              "Command=E:\\Audio Setup\\Setup.exe\r\n");

    // The next run without the driver overwrites the request; the key stays, empty.
    WritePackageHandshake(machine.os(), "E:\\Audio Setup\\", false);
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_InstallDriver", "Install"), "NO");
    EXPECT_EQ(machine.profiles.Entry(kHandshake, "Need_To_InstallDriver", "Command"), "");
    EXPECT_EQ(machine.files.Read(kHandshake),
              "[Need_To_Reboot]\r\nInstall=NO\r\n[Need_To_InstallDriver]\r\nInstall=NO\r\n"
              "Command=\r\n");
}

TEST(PackageHandshake, OtherContentsStayAndAWindowsDirectoryWithBackslashWorks)
{
    SetupMachine machine;
    machine.files.windowsDirectory = "C:\\WINNT\\";
    machine.files.AddFile("C:\\WINNT\\QNISETUP.INI",
                          "[Need_To_Reboot]\r\nInstall=YES\r\n[Package]\r\nVersion=3\r\n");
    WritePackageHandshake(machine.os(), "D:\\", false);
    EXPECT_EQ(machine.profiles.Entry("C:\\WINNT\\QNISETUP.INI", "Need_To_Reboot", "Install"), "NO");
    EXPECT_EQ(machine.profiles.Entry("C:\\WINNT\\QNISETUP.INI", "Package", "Version"), "3");
    EXPECT_EQ(machine.log().Details("WritePrivateProfileStringA")[0],
              "[Need_To_Reboot] Install=NO C:\\WINNT\\QNISETUP.INI");
}

TEST(LaunchPackageSetup, PathWithABlankIsQuotedAndNotWaitedFor)
{
    SetupMachine machine;
    machine.files.AddFile("E:\\Audio.exe", "another program");
    machine.files.AddFile("E:\\Audio Setup\\W2K-ME\\app\\Setup.exe", "package");
    LaunchPackageSetup(machine.os(), "E:\\Audio Setup\\W2K-ME\\app\\Setup.exe");
    ASSERT_EQ(machine.processes.Started().size(), 1u);
    const sim::SimStartedProcess& started = machine.processes.Started()[0];
    EXPECT_EQ(started.function, "CreateProcessA");
    EXPECT_EQ(started.commandLine, "\"E:\\Audio Setup\\W2K-ME\\app\\Setup.exe\"");
    EXPECT_EQ(started.image, "E:\\Audio Setup\\W2K-ME\\app\\Setup.exe");
    EXPECT_EQ(started.show, platform::kShowShow);
    EXPECT_EQ(machine.log().Count("WaitForInputIdle"), 0u);
    EXPECT_EQ(machine.processes.OpenHandleCount(), 0u);

    SetupMachine plain;
    plain.files.AddFile("D:\\W2K-ME\\app\\Setup.exe", "package");
    LaunchPackageSetup(plain.os(), "D:\\W2K-ME\\app\\Setup.exe");
    ASSERT_EQ(plain.processes.Started().size(), 1u);
    EXPECT_EQ(plain.processes.Started()[0].commandLine, "D:\\W2K-ME\\app\\Setup.exe");
}

class PackageFromStartup : public ::testing::Test {
protected:
    SetupMachine machine;
    PackageFromStartup() {
        machine.files.AddFile("C:\\UNINST.EXE", "uninstaller");
        machine.registry.PutString(
            RootKey::LocalMachine,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PCI Audio Applications",
            "UninstallString", "C:\\UNINST.EXE");
        machine.processes.Define("C:\\UNINST.EXE", {4000, 0, false, 0, {}});
        machine.desktop.AddWindow("CD Player");
    }
};

TEST_F(PackageFromStartup, ClosesUninstallsLaunchesAndEndsWithZero)
{
    machine.AddPackage();
    InstallerRun run = machine.Run("/AP");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(machine.desktop.IsOpen("CD Player"));
    ASSERT_EQ(machine.processes.Started().size(), 2u);
    EXPECT_EQ(machine.processes.Started()[0].commandLine, "C:\\UNINST.EXE -a");
    const sim::SimStartedProcess& package = machine.processes.Started()[1];
    EXPECT_EQ(package.commandLine, "D:\\W2K-ME\\app\\Setup.exe");
    EXPECT_EQ(package.currentDirectory, "D:\\W2K-ME");
    // Closing pause 500 ms, then the uninstaller's four seconds before the launch.
    EXPECT_EQ(package.startedAt, 4500u);
    auto steps = machine.log().Sequence({"SendMessageA", "CreateProcessA", "exit"});
    EXPECT_EQ(steps, (std::vector<std::string>{"SendMessageA WM_CLOSE CD Player",
                                               "CreateProcessA C:\\UNINST.EXE -a show=5",
                                               "CreateProcessA D:\\W2K-ME\\app\\Setup.exe show=5",
                                               "exit 0"}));
    EXPECT_FALSE(machine.files.Exists(kHandshake));
    EXPECT_TRUE(machine.desktop.MessageBoxes().empty());
    EXPECT_TRUE(machine.dialogs.Shown().empty());
}

TEST_F(PackageFromStartup, MissingPackageGivesOneMessageAndEndsWithZero)
{
    InstallerRun run = machine.Run("ap");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(machine.desktop.MessageBoxes().size(), 1u);
    const sim::SimMessageBox& box = machine.desktop.MessageBoxes()[0];
    EXPECT_EQ(box.text, expected_text::kMissingPackageSetup);
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.flags, platform::kMessageBoxOk);
    EXPECT_EQ(box.owner, platform::kNoWindow);
    // The uninstaller ran; nothing else was started or written.
    ASSERT_EQ(machine.processes.Started().size(), 1u);
    EXPECT_EQ(machine.processes.Started()[0].commandLine, "C:\\UNINST.EXE -a");
    EXPECT_FALSE(machine.files.Exists(kHandshake));
    EXPECT_EQ(machine.log().Sequence({"MessageBoxA", "exit"}).back(), "exit 0");
}

}  // namespace
