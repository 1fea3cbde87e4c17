#include "support/setup_machine.h"

#include "sim/program_templates.h"

SetupMachine::SetupMachine()
{
    files.AddFile("D:\\W2KSETUP.EXE", "installer");
    StartFrom(*this, "D:\\W2KSETUP.EXE");
    DefineProgramResources(dialogs);
}

void SetupMachine::SetupIni(const std::string& section, const std::string& key,
                            const std::string& value)
{
    profiles.Put(std::string(kMedia) + "setup.ini", section, key, value);
}

void SetupMachine::InstallOption(const std::string& key, int value)
{
    SetupIni("InstallOption", key, std::to_string(value));
}

std::string SetupMachine::WindowsFile(const std::string& name) const
{
    return files.windowsDirectory + "\\" + name;
}

void SetupMachine::AddPackage()
{
    files.AddFile(std::string(kMedia) + "W2K-ME\\app\\Setup.exe", "package setup");
}
