#include "driver/staging.h"

#include "common/command_text.h"
#include "common/file_actions.h"
#include "common/run_key.h"
#include "common/windows_directory.h"
#include "driver/driver_paths.h"

bool HasInfExtension(const std::string& name)
{
    // Only these two spellings: a ".Inf" is not handed to the hook.
    return name.find(".inf") != std::string::npos || name.find(".INF") != std::string::npos;
}

void CopyFolderFiles(platform::Platform& os, const std::string& sourceFolder,
                     const std::string& destinationFolder, bool resetAfter,
                     const InfHook& infHook)
{
    auto search = os.files.Find(sourceFolder + "*.*");
    if (!search)
        return;
    platform::FoundFile entry;
    while (search->Next(entry)) {
        if (entry.attributes & platform::kAttributeDirectory)
            continue;
        const std::string source = sourceFolder + entry.name;
        const std::string destination = destinationFolder + entry.name;
        CopyOverEvenIfReadOnly(os.files, source, destination);
        if (resetAfter)
            os.files.SetAttributes(destination, platform::kAttributeNormal);
        if (infHook && HasInfExtension(entry.name)) {
            os.files.SetAttributes(destination, platform::kAttributeNormal);
            infHook(destination);
        }
    }
}

void StageDosDrivers(platform::Platform& os, const std::string& sourceDir)
{
    const std::string dosFolder = sourceDir + "Dosdrv\\";
    CopyFolderFiles(os, dosFolder, kDosDriverDir, true);
    CopyFolderFiles(os, dosFolder + "DOSAPP\\", kDosApplicationDir, true);
}

std::string ChooseDriverFolder(platform::Platform& os, const std::string& sourceDir,
                               bool windowsXP)
{
    if (windowsXP && os.files.ChangeDirectory(sourceDir + "WinXP\\"))
        return sourceDir + "WinXP\\drv\\";
    if (os.files.ChangeDirectory(sourceDir + "W2K-ME\\"))
        return sourceDir + "W2K-ME\\drv\\";
    return sourceDir + "WIN_ME\\drv\\";
}

void StageDriverFiles(platform::Platform& os, const std::string& sourceFolder,
                      const InfHook& infHook)
{
    os.files.MakeDirectory(kDriverStagingDir);
    CopyFolderFiles(os, sourceFolder, kDriverStagingDir, false, infHook);
}

bool RegisterMixerReplacement(platform::Platform& os, const std::string& sourceFolder)
{
    if (!os.files.OpensForReading(sourceFolder + "Mixer.dat"))
        return false;

    const std::string windowsDir = WindowsDirectoryPath(os.files);
    CopyOverEvenIfReadOnly(os.files, sourceFolder + "Mixer.dat", windowsDir + "Mixer.dat");
    const std::string installerCopy = windowsDir + "W2KSetup.exe";
    CopyOverEvenIfReadOnly(os.files, sourceFolder + "W2KSetup.dat", installerCopy);

    auto runKey = OpenRunKey(os.registry);
    if (!runKey)
        return false;
    // Quoted only when the Windows directory has a blank: Windows would
    // otherwise take the text before the blank for the program.
    const bool written = os.registry.SetString(*runKey, kReplaceMixerValue,
                                               ProgramCommand(installerCopy, " -ReplaceMixer"));
    os.registry.CloseKey(*runKey);
    return written;
}

void ClearMixerInitialize(platform::Platform& os)
{
    const std::string settings = WindowsDirectoryPath(os.files) + "mixerdef.ini";
    // A write would create the file; only an existing one is reset.
    if (os.files.OpensForReading(settings))
        os.profiles.WriteString("RUNTIME", "Initialize", "0", settings);
}
