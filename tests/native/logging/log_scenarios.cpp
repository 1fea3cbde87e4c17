#include "logging/log_scenarios.h"

#include <algorithm>

#include "resources/resource.h"
#include "support/driver_media.h"
#include "sim/windows_versions.h"

namespace log_scenarios {

namespace {

void XpWithDevice(SetupMachine& machine)
{
    machine.version.info.servicePack = "Service Pack 2";
    machine.AddPackage();
    driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
    machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\3&61AAA01", {kHardwareId});
    machine.SetupIni("Default", "UsingCDDA", "1");
    machine.dialogs.Expect(IDD_SETUP_DIALOG, [](sim::SimDialog& dialog) {
        dialog.Click(IDC_INSTALL_APPLICATIONS);
        dialog.PressOk();
    });
}

}  // namespace

void TypicalXpRun(SetupMachine& machine, bool restart)
{
    XpWithDevice(machine);
    driver_media::AnswerRestartPrompt(machine, restart);
}

void FailingUpdateRun(SetupMachine& machine)
{
    XpWithDevice(machine);
    machine.devices.updateSucceeds = false;
    driver_media::AnswerRestartPrompt(machine, false);
}

void Windows98HandOver(SetupMachine& machine)
{
    machine.version.info = versions::kWindows98;
    machine.InstallOption("DriverOnly", 1);
    machine.files.AddFile("D:\\Setup.exe", "media setup");
}

void MixerReplacementRun(SetupMachine& machine)
{
    machine.files.AddFile("C:\\WINDOWS\\Mixer.dat", "new mixer");
    machine.files.AddFile("C:\\WINDOWS\\Mixer.exe", "old mixer");
    machine.desktop.AddWindow("Mixer");
}

void PackageRun(SetupMachine& machine)
{
    machine.AddPackage();
}

void WebSetupWithoutDriver(SetupMachine& machine)
{
    machine.InstallOption("WebSetup", 1);
}

void SilentXpRun(SetupMachine& machine)
{
    driver_media::AddDriverPackage(machine, "D:\\WinXP\\drv\\", "xp");
    machine.devices.AddDevice("PCI\\VEN_7E2D&DEV_0111\\3&61AAA01", {kHardwareId});
}

std::vector<Scenario> All()
{
    return {
        {"typical XP run", [](SetupMachine& m) { TypicalXpRun(m, true); }, "", true},
        {"failing update", FailingUpdateRun, "", true},
        {"Windows 98 hand-over", Windows98HandOver, "", true},
        {"mixer replacement", MixerReplacementRun, "-ReplaceMixer", false},
        {"package", PackageRun, "/AP", true},
        {"WebSetup=1 without the driver", WebSetupWithoutDriver, "", true},
        {"silent XP run", SilentXpRun, "/S", true},
    };
}

InstallerRun LoggedRun::Run(const std::string& commandLine)
{
    result = RunWithLogOnRequest(machine, host, commandLine);
    return result;
}

std::vector<std::string> LoggedRun::LogLines(const std::string& path) const
{
    std::vector<std::string> lines;
    const std::string text = machine.files.Read(path).value_or(std::string());
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Calls(const sim::SimLog& log)
{
    std::vector<std::string> calls;
    for (const sim::SimCall& call : log.Calls())
        calls.push_back(std::to_string(call.time) + " " + call.function + " " + call.detail);
    return calls;
}

std::vector<std::string> WithoutTheLogsOwnCalls(std::vector<std::string> calls)
{
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [](const std::string& call) {
                                   for (const char* own : {"W2KSETUP_LOG", "] LogFile ",
                                                           "(for the log)", " ab (not opened)"}) {
                                       if (call.find(own) != std::string::npos)
                                           return true;
                                   }
                                   return false;
                               }),
                calls.end());
    return calls;
}

std::vector<std::string> Files(const SetupMachine& machine)
{
    std::vector<std::string> files;
    for (const char* drive : {"C:\\", "D:\\"}) {
        for (const std::string& path : machine.files.FilesBelow(drive))
            files.push_back(path + ": " + machine.files.Read(path).value_or("?"));
    }
    return files;
}

std::vector<std::string> Containing(const std::vector<std::string>& lines, const std::string& part)
{
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos)
            found.push_back(line);
    }
    return found;
}

std::vector<std::string> Steps(const std::vector<std::string>& lines)
{
    // A call line: the time right-aligned in 7 places, " ms  ", then the
    // step (which never holds two blanks in a row) and at least two blanks.
    std::vector<std::string> steps;
    for (const std::string& line : lines) {
        if (line.size() < 12 || line.compare(7, 5, " ms  ") != 0)
            continue;
        const std::string step = line.substr(12, line.find("  ", 12) - 12);
        if (steps.empty() || steps.back() != step)
            steps.push_back(step);
    }
    return steps;
}

}  // namespace log_scenarios
