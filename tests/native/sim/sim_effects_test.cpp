// What the simulated Windows reports to a watcher as calls change the
// machine: one effect per change, with the fields a person reads, nothing for
// a call that changed nothing; files whose bytes are read only when needed;
// and the length limit of ANSI paths.
#include <gtest/gtest.h>

#include "sim/program_templates.h"
#include "sim/sim_machine.h"
#include "resources/resource.h"

namespace {

using platform::RootKey;

// Every effect as "kind field=text ...", in order.
class Watcher {
public:
    explicit Watcher(sim::SimMachine& machine)
    {
        machine.context.onEffect = [this](const sim::SimEffect& effect) {
            std::string line = effect.kind;
            for (const sim::SimEffectField& field : effect.fields)
                line += " " + field.name + "=" + field.text;
            lines.push_back(line);
            times.push_back(effect.time);
        };
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(lines);
        return taken;
    }
    std::vector<std::string> lines;
    std::vector<std::uint64_t> times;
};

TEST(SimEffects, FilesReportChangesTestsAndSearches)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\drv\\a.inf", "a", platform::kAttributeReadOnly);
    machine.files.AddFolder("D:\\drv\\sub");
    Watcher watcher(machine);
    auto& files = machine.os().files;

    EXPECT_TRUE(files.MakeDirectory("C:\\Stage"));
    EXPECT_FALSE(files.MakeDirectory("C:\\Stage"));  // already there: no effect
    files.Find("D:\\drv\\*.*");
    files.Copy("D:\\drv\\a.inf", "C:\\Stage\\a.inf", false);
    files.Copy("D:\\drv\\none.sys", "C:\\Stage\\none.sys", false);
    files.SetAttributes("C:\\Stage\\a.inf", platform::kAttributeNormal);
    files.SetAttributes("C:\\Stage\\a.inf", platform::kAttributeNormal);  // unchanged
    files.SetAttributes("C:\\Stage\\none.sys", platform::kAttributeNormal);  // no such file
    files.ChangeDirectory("D:\\drv\\");
    files.ChangeDirectory("D:\\none\\");
    files.OpensForReading("C:\\Stage\\a.inf");
    {
        auto stream = files.OpenForUpdate("C:\\Stage\\a.inf");
        stream->Seek(1);
        stream->PutByte('2');
    }
    files.Remove("C:\\Stage\\a.inf");
    files.Remove("C:\\Stage\\a.inf");  // gone: no effect

    EXPECT_EQ(watcher.Take(),
              (std::vector<std::string>{
                  "mkdir path=C:\\Stage",
                  "search pattern=D:\\drv\\*.* files=1 folders=1",
                  "copy from=D:\\drv\\a.inf to=C:\\Stage\\a.inf",
                  "copy from=D:\\drv\\none.sys to=C:\\Stage\\none.sys error=no source",
                  "attributes path=C:\\Stage\\a.inf attributes=normal",
                  "folder-test path=D:\\drv\\ present=true",
                  "folder-test path=D:\\none\\ present=false",
                  "file-test path=C:\\Stage\\a.inf present=true",
                  "patch path=C:\\Stage\\a.inf offset=1 byte=2",
                  "delete path=C:\\Stage\\a.inf",
              }));
}

TEST(SimEffects, RegistryProfilesProgramsWindowsPausesAndTheReboot)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\Setup.exe", "setup");
    machine.registry.PutString(RootKey::LocalMachine, "Software\\Run", "Old", "x");
    machine.desktop.AddWindow("Mixer");
    Watcher watcher(machine);
    platform::Platform& os = machine.os();

    auto key = os.registry.OpenKey(RootKey::LocalMachine, "Software\\Run",
                                   platform::RegAccess::AllAccess);
    os.registry.SetString(*key, "New", "C:\\W2KSetup.exe -ReplaceMixer");
    os.registry.DeleteValue(*key, "Old");
    os.registry.DeleteValue(*key, "Old");  // gone: no effect
    os.registry.CloseKey(*key);
    os.profiles.WriteString("CD PLAYER", "UsingCDDA", "0", "C:\\WINDOWS\\QNCDPLAY.INI");
    machine.files.SetCurrent("D:\\");
    os.processes.RunCommand("D:\\Setup.exe /AP", platform::kShowShow);
    os.processes.Start("D:\\None.exe", platform::kShowHide);
    os.desktop.SendClose(*os.desktop.FindTopLevel("Mixer"));
    os.desktop.ShowMessage(platform::kNoWindow, "Text", "Setup", platform::kMessageBoxOk);
    os.clock.Sleep(200);
    os.clock.SleepEx(3000);
    os.security.ExitWindows(platform::kExitWindowsReboot, 0);

    EXPECT_EQ(watcher.Take(),
              (std::vector<std::string>{
                  "reg-set key=HKLM\\Software\\Run value=New type=REG_SZ "
                  "data=C:\\W2KSetup.exe -ReplaceMixer",
                  "reg-delete key=HKLM\\Software\\Run value=Old",
                  "ini-write file=C:\\WINDOWS\\QNCDPLAY.INI section=CD PLAYER key=UsingCDDA value=0",
                  "start command_line=D:\\Setup.exe /AP current_dir=D:\\ show=SW_SHOW",
                  "start command_line=D:\\None.exe current_dir=D:\\ show=SW_HIDE "
                  "error=program not found",
                  "close-window title=Mixer",
                  "message text=Text caption=Setup",
                  "sleep ms=200",
                  "sleep ms=3000",
                  "reboot",
              }));
    // Each effect carries the virtual time of its call.
    EXPECT_EQ(watcher.times.back(), 3200u);

    machine.security.rebootAccepted = false;
    os.security.ExitWindows(platform::kExitWindowsReboot, 0);
    EXPECT_TRUE(watcher.Take().empty()) << "a refused reboot is no reboot";
}

TEST(SimEffects, DeviceOperationsReportTheirResults)
{
    sim::SimMachine machine;
    machine.devices.AddDevice("PCI\\AUDIO", {"PCI\\VEN_7E2D&DEV_0111"});
    machine.files.AddFile("C:\\Stage\\QNAUDIO.INF", "inf");
    Watcher watcher(machine);
    platform::Devices& devices = machine.os().devices;

    bool reboot = false;
    devices.UpdateDriver(platform::kNoWindow, "PCI\\VEN_7E2D&DEV_0111", "C:\\Stage\\QNAUDIO.INF",
                         platform::kInstallFlagForce, reboot);
    machine.devices.updateNeedsReboot = true;
    devices.UpdateDriver(platform::kNoWindow, "PCI\\VEN_7E2D&DEV_0111", "C:\\Stage\\QNAUDIO.INF",
                         platform::kInstallFlagForce, reboot);
    devices.UpdateDriver(platform::kNoWindow, "PCI\\OTHER", "C:\\Stage\\QNAUDIO.INF",
                         platform::kInstallFlagForce, reboot);
    auto set = devices.GetPresentDevices();
    platform::DeviceInfo device;
    devices.EnumDevice(*set, 0, device);
    devices.RemoveDevice(*set, device);
    devices.DestroyDeviceSet(*set);
    devices.CopyOemInf("C:\\Stage\\QNAUDIO.INF", "C:\\Stage");
    devices.CopyOemInf("C:\\Stage\\QNAUDIO.INF", "C:\\Stage");  // moved away by the first
    devices.SetSourceList(platform::kSourceListSystemUser, {"D:\\", "C:\\Stage\\"});
    devices.ReenumerateDevNode(*devices.LocateRootDevNode(), platform::kReenumerateNormal);

    EXPECT_EQ(watcher.Take(),
              (std::vector<std::string>{
                  "device operation=update result=updated hardware_id=PCI\\VEN_7E2D&DEV_0111 "
                  "inf=C:\\Stage\\QNAUDIO.INF",
                  "device operation=update result=updated, restart needed "
                  "hardware_id=PCI\\VEN_7E2D&DEV_0111 inf=C:\\Stage\\QNAUDIO.INF",
                  "device operation=update result=no such device hardware_id=PCI\\OTHER "
                  "inf=C:\\Stage\\QNAUDIO.INF",
                  "device operation=remove result=removed device=PCI\\AUDIO",
                  "device operation=register INF result=copied as C:\\WINDOWS\\INF\\oem0.inf "
                  "inf=C:\\Stage\\QNAUDIO.INF",
                  "device operation=register INF result=failed inf=C:\\Stage\\QNAUDIO.INF",
                  "device operation=set source list result=set entries=D:\\;C:\\Stage\\",
                  "device operation=re-enumerate result=done",
              }));
}

TEST(SimEffects, DialogsReportTheirTitleAndEachClickWithTheStateItLeaves)
{
    sim::SimMachine machine;
    DefineProgramResources(machine.dialogs);
    class Events : public platform::DialogEvents {
    public:
        explicit Events(sim::SimMachine& machine) : m_machine(machine) {}
        void Attached(platform::WindowHandle dialog) override { m_dialog = dialog; }
        bool InitDialog() override { return true; }
        // Like the installer's dialogs: the driver box stays checked when
        // clicked, and OK does its work before the dialog ends.
        void Command(int id, int) override
        {
            if (id == IDC_INSTALL_DRIVER)
                m_machine.os().dialogs.SetCheck(m_dialog, IDC_INSTALL_DRIVER, 1);
            if (id == platform::kIdOk)
                m_machine.os().desktop.ShowMessage(m_dialog, "Working", "Setup", 0);
            if (id == platform::kIdOk || id == platform::kIdCancel)
                m_machine.os().dialogs.EndDialog(m_dialog, id);
        }
        bool SysCommand(unsigned, long) override { return false; }
        bool Paint() override { return false; }
        platform::IconHandle QueryDragIcon() override { return platform::IconHandle::None; }

    private:
        sim::SimMachine& m_machine;
        platform::WindowHandle m_dialog{};
    } events(machine);
    machine.dialogs.Expect(IDD_SETUP_DIALOG, [](sim::SimDialog& dialog) {
        dialog.Click(IDC_INSTALL_APPLICATIONS);
        dialog.Click(IDC_INSTALL_DRIVER);
        dialog.PressOk();
    });
    machine.dialogs.Expect(IDD_RESTART, [](sim::SimDialog& dialog) {
        dialog.Click(IDC_RESTART_NO);
        dialog.PressEscape();
    });
    Watcher watcher(machine);
    machine.os().dialogs.RunModal(IDD_SETUP_DIALOG, platform::kNoWindow, events);
    machine.os().dialogs.RunModal(IDD_RESTART, platform::kNoWindow, events);

    EXPECT_EQ(watcher.Take(),
              (std::vector<std::string>{
                  "dialog template=102 title=PCI Audio Device Driver And Applications Setup "
                  "Program",
                  "click template=102 control=1001 text=Install Applications checked=true",
                  // The box the handler checked again is reported checked.
                  "click template=102 control=1002 text=Install Device Driver checked=true",
                  "click template=102 control=1 text=OK",
                  "message text=Working caption=Setup",
                  "dialog template=132 title=Restarting Windows",
                  "click template=132 control=1001 text=No, I will restart my computer later. "
                  "checked=true",
                  "click template=132 control=2 text=Esc",
              }));
}

TEST(SimEffects, AFailedCallReportsNothing)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\a.sys", "a");
    Watcher watcher(machine);
    machine.faults.Fail("CopyFileA");
    EXPECT_FALSE(machine.os().files.Copy("D:\\a.sys", "C:\\a.sys", false));
    machine.os().clock.Sleep(5);
    EXPECT_EQ(watcher.Take(), std::vector<std::string>{"sleep ms=5"});
}

// The bytes of a file added for later are read once, when a call needs
// them; copies pass the promise on without reading.
TEST(SimFiles, BytesAddedForLaterAreReadOnlyWhenNeeded)
{
    sim::SimMachine machine;
    int reads = 0;
    machine.files.AddFileReadLater(
        "D:\\drv\\QNAUDIO.INF",
        [&reads] {
            ++reads;
            return std::string("[Version]\r\n");
        },
        platform::kAttributeReadOnly);
    platform::Platform& os = machine.os();

    EXPECT_TRUE(os.files.OpensForReading("D:\\drv\\QNAUDIO.INF"));
    EXPECT_TRUE(os.files.Copy("D:\\drv\\QNAUDIO.INF", "C:\\QNAUDIO.INF", false));
    EXPECT_EQ(machine.files.Attributes("C:\\QNAUDIO.INF"), platform::kAttributeReadOnly);
    EXPECT_EQ(reads, 0);

    EXPECT_EQ(machine.files.Read("C:\\QNAUDIO.INF"), "[Version]\r\n");
    EXPECT_EQ(machine.files.Read("C:\\QNAUDIO.INF"), "[Version]\r\n");
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(machine.profiles.Entry("D:\\drv\\QNAUDIO.INF", "Version", "x"), std::nullopt);
    EXPECT_EQ(reads, 2);  // the media's own copy, read for the first time
}

// An ANSI path holds at most 259 characters; a new folder at most 247, so
// that an 8.3 name still fits in it. Longer ones fail with
// ERROR_FILENAME_EXCED_RANGE before anything is looked at.
TEST(SimFiles, PathsLongerThanWindowsTakesFail)
{
    sim::SimMachine machine;
    const std::string folder = "C:\\" + std::string(240, 'f') + "\\";  // 244 characters
    machine.files.AddFolder(folder);
    const std::string longest = folder + std::string(259 - folder.size(), 'n');
    const std::string tooLong = longest + "x";
    machine.files.AddFile(longest, "fits");
    machine.files.AddFile("D:\\a", "a");
    platform::Platform& os = machine.os();

    EXPECT_TRUE(os.files.Copy(longest, "D:\\copy", false));
    EXPECT_TRUE(os.files.OpensForReading(longest));
    EXPECT_FALSE(os.files.Copy("D:\\a", tooLong, false));
    EXPECT_EQ(machine.context.lastError, 206u);
    EXPECT_FALSE(machine.files.Exists(tooLong));
    machine.files.AddFile(tooLong, "there all the same");
    EXPECT_FALSE(os.files.OpensForReading(tooLong));
    EXPECT_FALSE(os.files.Remove(tooLong));
    EXPECT_FALSE(os.files.SetAttributes(tooLong, platform::kAttributeNormal));
    EXPECT_FALSE(os.files.Find(tooLong));
    EXPECT_EQ(machine.log().Details("DeleteFileA"),
              std::vector<std::string>{tooLong + " (path too long)"});

    EXPECT_TRUE(os.files.MakeDirectory(folder + "abc"));                       // 247
    EXPECT_FALSE(os.files.MakeDirectory(folder + "abcd"));                     // 248
    EXPECT_FALSE(os.files.ChangeDirectory(folder + std::string(16, 'd')));   // 260
    EXPECT_EQ(machine.context.lastError, 206u);
}

// A folder's search lists its own entries only, in name order without case,
// however many files lie in the folders beside and below it.
TEST(SimFiles, SearchesListOnlyTheFolderItself)
{
    sim::SimMachine machine;
    machine.files.AddFile("D:\\drv\\b.sys", "");
    machine.files.AddFile("D:\\drv\\A.INF", "");
    machine.files.AddFile("D:\\drv\\sub\\c.sys", "");
    machine.files.AddFile("D:\\drv2\\d.sys", "");
    machine.files.AddFile("D:\\dr.sys", "");
    EXPECT_EQ(machine.files.List("D:\\drv"), (std::vector<std::string>{"A.INF", "b.sys", "sub"}));
    EXPECT_EQ(machine.files.List("D:\\"),
              (std::vector<std::string>{"dr.sys", "drv", "drv2"}));
}

}  // namespace
