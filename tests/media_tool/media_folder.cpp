#include "media_folder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "media_tool/check/check.h"
#include "driver/inf_option_patch.h"
#include "media_tool/check/inf_option_lines.h"
#include "media_tool/reports/plan_report.h"
#include "media_tool/images/run_program.h"

const std::string MediaFolder::kInstaller = "MZ the installer";

MediaFolder::MediaFolder()
{
    char pattern[] = "/tmp/w2kmedia-test-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("cannot make a temporary folder");
    m_root = pattern;
}

MediaFolder::~MediaFolder()
{
    // Folders made unreadable by a test are opened up again to go.
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(
             m_root, std::filesystem::directory_options::skip_permission_denied, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_root, ignored);
}

std::string MediaFolder::Host(const std::string& path) const
{
    std::string host = m_root + "/" + path;
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

void MediaFolder::Write(const std::string& path, const std::string& bytes)
{
    const std::string host = Host(path);
    std::filesystem::create_directories(std::filesystem::path(host).parent_path());
    std::ofstream(host, std::ios::binary) << bytes;
}

void MediaFolder::Folder(const std::string& path)
{
    std::filesystem::create_directories(Host(path));
}

void MediaFolder::Remove(const std::string& path)
{
    std::filesystem::remove_all(Host(path));
}

std::string MediaFolder::DriverInf()
{
    return std::string("; QNAUDIO.INF\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=MEDIA\r\n\r\n") +
           "[Quarnel]\r\n%QNAUDIO.DeviceDesc%=QNAUDIO, PCI\\VEN_7E2D&DEV_0111\r\n\r\n" +
           "[QNAUDIO.AddReg]\r\nHKR,,NTMPDriver,,qnaudio.sys\r\n" + kEnableLegacyLine +
           "\r\n" + kJackConfigLine + "\r\n";
}

void MediaFolder::WriteDriverPackage(const std::string& folder)
{
    Write(folder + "QNAUDIO.INF", DriverInf());
    Write(folder + "qnaudio.sys", "MZ driver");
    Write(folder + "Mixer.dat", "MZ mixer");
    Write(folder + "W2KSetup.dat", kInstaller);
}

void MediaFolder::WriteSample()
{
    Write("setup.ini", "[InstallOption]\r\nWebSetup=0\r\n");
    Write("W2KSetup.exe", kInstaller);
    Write("Setup.exe", "MZ setup for the older Windows versions");
    Write("Dosdrv\\QNSBDRV.COM", "DOS driver");
    Write("Dosdrv\\DOSAPP\\QNPLAY.EXE", "MZ DOS player");
    for (const char* folder : {"WinXP\\drv\\", "W2K-ME\\drv\\", "WIN_ME\\drv\\"})
        WriteDriverPackage(folder);
    Write("W2K-ME\\app\\Setup.exe", "MZ package setup");
}

void MediaFolder::WriteWebSetup(const std::string& installOptions)
{
    Write("setup.ini", "[InstallOption]\r\n" + installOptions);
    Write("W2KSetup.exe", kInstaller);
    Write("Setup.exe", "MZ setup for the older Windows versions");
    WriteDriverPackage("");
}

std::string WriteIsoImage(const MediaFolder& media, const MediaFolder& images,
                          const std::string& name, bool joliet,
                          const std::vector<std::string>& options)
{
    const std::string image = images.Host(name + ".iso");
    std::vector<std::string> arguments = {"xorriso", "-outdev", "stdio:" + image, "-joliet",
                                          joliet ? "on" : "off"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    for (const char* mapping : {"-map", media.Root().c_str(), "/"})
        arguments.push_back(mapping);
    const ProgramRun run = RunProgram(arguments, images.Host(name + ".log"));
    if (!run.started || run.exitStatus != 0)
        ADD_FAILURE() << "xorriso could not write " << image << ": see " << name << ".log";
    return image;
}

bool PatchBytes(const std::string& hostPath, const std::string& from, const std::string& to)
{
    std::string bytes = ReadHostFile(hostPath).value_or("");
    const std::size_t at = bytes.find(from);
    if (at == std::string::npos || from.size() != to.size())
        return false;
    bytes.replace(at, from.size(), to);
    std::ofstream(hostPath, std::ios::binary | std::ios::trunc) << bytes;
    return true;
}

std::vector<Finding> CheckFolder(const MediaFolder& media)
{
    return CheckMedia(ScanMedia(media.Root()));
}

PlanResult PlanFolder(const MediaFolder& media, const std::string& commandLine,
                      const PlanSetup& setup)
{
    return PlanWholeFolder(media, commandLine, setup).run;
}

MediaPlan PlanWholeFolder(const MediaFolder& media, const std::string& commandLine,
                          const PlanSetup& setup)
{
    const MediaTree tree = ScanMedia(media.Root());
    return PlanMedia(MediaImage(tree), setup, commandLine);
}

std::vector<std::string> Codes(const std::vector<Finding>& findings)
{
    std::vector<std::string> codes;
    for (const Finding& finding : findings)
        codes.push_back(finding.code);
    return codes;
}

std::vector<std::string> EventsOf(const PlanResult& plan, const std::string& kind)
{
    std::vector<std::string> events;
    for (const PlanEvent& event : plan.events) {
        if (event.kind == kind)
            events.push_back(EventText(event));
    }
    return events;
}
