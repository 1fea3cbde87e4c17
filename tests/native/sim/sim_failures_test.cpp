// Every call of every platform service can fail in the simulation, and a
// failed call answers as Windows does when that call fails: these cases pin
// each failure result and the last error it leaves.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "sim/sim_machine.h"

namespace {

using platform::RootKey;
using platform::WindowHandle;

constexpr std::uint32_t kUntouched = 0x5EED;  // a last error no call leaves

// A machine with one of everything the calls need: a registry value, files,
// a program, a device, a window, a dialog template, a string and an icon.
class Prepared : public sim::SimMachine {
public:
    Prepared()
    {
        registry.PutString(RootKey::LocalMachine, "K", "V", "text");
        files.AddFile("C:\\f.txt", "abc");
        files.AddFile("C:\\dir\\a.inf", "a");
        files.AddFile("C:\\dir\\b.inf", "b");
        files.AddFile("C:\\p.exe", "program");
        processes.Define("C:\\p.exe", {10000, 0, true, 0, {}});
        devices.AddDevice("AUDIO", {"PCI\\VEN_1"});
        desktop.AddWindow("Mixer");
        sim::SimTemplate layout;
        layout.controls = {{1, sim::SimControlKind::PushButton, false, true},
                           {7, sim::SimControlKind::CheckBox, false, true}};
        dialogs.DefineTemplate(100, layout);
        dialogs.Always(100, [](sim::SimDialog& dialog) { dialog.PressOk(); });
        dialogs.strings[101] = "text";
        dialogs.icons.insert(128);
    }

    // The next platform call fails; the last error is set to a mark first.
    void FailNext()
    {
        failing = context.calls + 1;
        faults.FailCall(failing);
        context.lastError = kUntouched;
    }

    std::uint64_t failing = 0;
};

struct Case {
    const char* call;
    // Prepares, calls FailNext, makes the call and checks its result.
    std::function<void(Prepared&)> run;
    // The last error the failure leaves; nothing: it stays as it was.
    std::optional<std::uint32_t> lastError;
};

void RunCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        Prepared machine;
        c.run(machine);
        ASSERT_NE(machine.failing, 0u) << c.call;
        const sim::SimCall* failed = machine.log().Call(machine.failing);
        ASSERT_NE(failed, nullptr) << c.call << ": the failing call was not made";
        EXPECT_EQ(failed->function, c.call);
        EXPECT_NE(failed->detail.find("(failed)"), std::string::npos) << c.call;
        EXPECT_EQ(machine.context.lastError, c.lastError.value_or(kUntouched)) << c.call;
    }
}

// Runs `body` inside a dialog on template 100, from its WM_INITDIALOG.
class BodyEvents : public platform::DialogEvents {
public:
    BodyEvents(Prepared& machine, std::function<void(WindowHandle)> body)
        : m_machine(machine), m_body(std::move(body)) {}
    void Attached(WindowHandle dialog) override { m_dialog = dialog; }
    bool InitDialog() override
    {
        m_body(m_dialog);
        return true;
    }
    void Command(int controlId, int) override
    {
        m_machine.os().dialogs.EndDialog(m_dialog, controlId);
    }
    bool SysCommand(unsigned, long) override { return false; }
    bool Paint() override { return false; }
    platform::IconHandle QueryDragIcon() override { return platform::IconHandle::None; }

private:
    Prepared& m_machine;
    std::function<void(WindowHandle)> m_body;
    WindowHandle m_dialog{};
};

void InDialog(Prepared& machine, std::function<void(WindowHandle)> body)
{
    BodyEvents events(machine, std::move(body));
    machine.os().dialogs.RunModal(100, platform::kNoWindow, events);
}

TEST(SimFailures, RegistryAndProfiles)
{
    RunCases({
        {"GetVersionExA",
         [](Prepared& m) {
             m.FailNext();
             platform::VersionInfo info = m.os().version.Query();
             EXPECT_EQ(info.platformId, 0u);
             EXPECT_EQ(info.majorVersion, 0u);
             EXPECT_EQ(info.buildNumber, 0u);
         },
         sim::error::kInsufficientBuffer},
        {"RegOpenKeyExA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().registry.OpenKey(RootKey::LocalMachine, "K",
                                                  platform::RegAccess::QueryValue));
             EXPECT_TRUE(m.registry.OpenKeys().empty());
         },
         sim::error::kAccessDenied},
        {"RegQueryValueExA",
         [](Prepared& m) {
             auto key = m.os().registry.OpenKey(RootKey::LocalMachine, "K",
                                                platform::RegAccess::QueryValue);
             m.FailNext();
             EXPECT_FALSE(m.os().registry.QueryString(*key, "V", 260));
             m.os().registry.CloseKey(*key);
         },
         sim::error::kFileNotFound},
        {"RegSetValueExA",
         [](Prepared& m) {
             auto key = m.os().registry.OpenKey(RootKey::LocalMachine, "K",
                                                platform::RegAccess::AllAccess);
             m.FailNext();
             EXPECT_FALSE(m.os().registry.SetString(*key, "V", "new"));
             EXPECT_EQ(m.registry.Text(RootKey::LocalMachine, "K", "V"), "text");
             m.os().registry.CloseKey(*key);
         },
         sim::error::kAccessDenied},
        {"RegDeleteValueA",
         [](Prepared& m) {
             auto key = m.os().registry.OpenKey(RootKey::LocalMachine, "K",
                                                platform::RegAccess::AllAccess);
             m.FailNext();
             EXPECT_FALSE(m.os().registry.DeleteValue(*key, "V"));
             EXPECT_TRUE(m.registry.Value(RootKey::LocalMachine, "K", "V"));
             m.os().registry.CloseKey(*key);
         },
         sim::error::kAccessDenied},
        {"RegCloseKey",
         [](Prepared& m) {
             auto key = m.os().registry.OpenKey(RootKey::LocalMachine, "K",
                                                platform::RegAccess::QueryValue);
             m.FailNext();
             m.os().registry.CloseKey(*key);
             EXPECT_TRUE(m.registry.OpenKeys().empty());  // given back all the same
         },
         std::nullopt},
        {"GetPrivateProfileIntA",
         [](Prepared& m) {
             m.profiles.Put("C:\\s.ini", "S", "K", "5");
             m.FailNext();
             EXPECT_EQ(m.os().profiles.GetInt("S", "K", 7, "C:\\s.ini"), 7);
         },
         sim::error::kFileNotFound},
        {"GetPrivateProfileStringA",
         [](Prepared& m) {
             m.profiles.Put("C:\\s.ini", "S", "K", "value");
             m.FailNext();
             EXPECT_EQ(m.os().profiles.GetString("S", "K", "default", 4, "C:\\s.ini"), "def");
         },
         sim::error::kFileNotFound},
        {"WritePrivateProfileStringA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().profiles.WriteString("S", "K", "1", "C:\\s.ini"));
             EXPECT_FALSE(m.files.Exists("C:\\s.ini"));
         },
         sim::error::kAccessDenied},
    });
}

// The registry answers with its status, and the adapter makes it the last
// error: a refusal that is no fault on purpose leaves its own code too.
TEST(SimFailures, RegistryRefusalsLeaveTheirStatusAsTheLastError)
{
    Prepared m;
    m.registry.PutValue(RootKey::LocalMachine, "K", "Long", sim::SimRegValue{sim::kRegSz, "abcd"});
    m.registry.MakeReadOnly(RootKey::LocalMachine, "Locked");
    platform::Registry& registry = m.os().registry;
    auto leaves = [&m](auto call) {
        m.context.lastError = kUntouched;
        EXPECT_FALSE(call());
        return m.context.lastError;
    };

    EXPECT_EQ(leaves([&] { return registry.OpenKey(RootKey::LocalMachine, "None",
                                                   platform::RegAccess::QueryValue); }),
              sim::error::kFileNotFound);
    EXPECT_EQ(leaves([&] { return registry.OpenKey(RootKey::LocalMachine, "Locked",
                                                   platform::RegAccess::AllAccess); }),
              sim::error::kAccessDenied);

    auto reading = registry.OpenKey(RootKey::LocalMachine, "K", platform::RegAccess::QueryValue);
    ASSERT_TRUE(reading);
    EXPECT_EQ(leaves([&] { return registry.QueryString(*reading, "Missing", 260); }),
              sim::error::kFileNotFound);
    EXPECT_EQ(leaves([&] { return registry.QueryString(*reading, "Long", 3); }),
              sim::error::kMoreData);
    EXPECT_EQ(leaves([&] { return registry.SetString(*reading, "V", "new"); }),
              sim::error::kAccessDenied);
    EXPECT_EQ(leaves([&] { return registry.DeleteValue(*reading, "V"); }),
              sim::error::kAccessDenied);
    registry.CloseKey(*reading);

    auto writing = registry.OpenKey(RootKey::LocalMachine, "K", platform::RegAccess::AllAccess);
    ASSERT_TRUE(writing);
    EXPECT_EQ(leaves([&] { return registry.DeleteValue(*writing, "Missing"); }),
              sim::error::kFileNotFound);
    registry.CloseKey(*writing);
    EXPECT_EQ(m.registry.Text(RootKey::LocalMachine, "K", "V"), "text");
}

TEST(SimFailures, FilesAndFolders)
{
    RunCases({
        {"GetWindowsDirectoryA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().files.WindowsDirectory(), "");
         },
         sim::error::kNotEnoughMemory},
        {"GetCurrentDirectoryA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().files.CurrentDirectory(), "");
         },
         sim::error::kNotEnoughMemory},
        {"SetCurrentDirectoryA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().files.ChangeDirectory("C:\\dir"));
             EXPECT_EQ(m.files.Current(), "C:\\");
         },
         sim::error::kAccessDenied},
        {"CreateDirectoryA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().files.MakeDirectory("C:\\new"));
             EXPECT_FALSE(m.files.Exists("C:\\new"));
         },
         sim::error::kAccessDenied},
        {"FindFirstFileA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().files.Find("C:\\dir\\*.inf"), nullptr);
         },
         sim::error::kAccessDenied},
        {"FindNextFileA",
         [](Prepared& m) {
             auto search = m.os().files.Find("C:\\dir\\*.inf");
             platform::FoundFile found;
             EXPECT_TRUE(search->Next(found));  // what FindFirstFileA found
             m.FailNext();
             EXPECT_FALSE(search->Next(found));
         },
         sim::error::kInvalidHandle},
        {"FindClose",
         [](Prepared& m) {
             auto search = m.os().files.Find("C:\\dir\\*.inf");
             m.FailNext();
             search.reset();
             EXPECT_TRUE(m.files.OpenSearches().empty());
         },
         std::nullopt},
        {"CopyFileA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().files.Copy("C:\\f.txt", "C:\\g.txt", false));
             EXPECT_FALSE(m.files.Exists("C:\\g.txt"));
         },
         sim::error::kAccessDenied},
        {"DeleteFileA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().files.Remove("C:\\f.txt"));
             EXPECT_TRUE(m.files.Exists("C:\\f.txt"));
         },
         sim::error::kAccessDenied},
        {"SetFileAttributesA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().files.SetAttributes("C:\\f.txt", platform::kAttributeReadOnly));
             EXPECT_EQ(m.files.Attributes("C:\\f.txt"), platform::kAttributeArchive);
         },
         sim::error::kAccessDenied},
        {"fopen",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().files.OpensForReading("C:\\f.txt"));
         },
         std::nullopt},
        {"fopen",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().files.OpenForUpdate("C:\\f.txt"), nullptr);
         },
         std::nullopt},
    });
}

// The C runtime's stream calls answer with EOF, -1L or nonzero and set errno,
// not the last error.
TEST(SimFailures, StreamCalls)
{
    auto onStream = [](std::function<void(Prepared&, platform::ByteStream&)> body) {
        return [body](Prepared& m) {
            auto stream = m.os().files.OpenForUpdate("C:\\f.txt");
            ASSERT_NE(stream, nullptr);
            body(m, *stream);
        };
    };
    RunCases({
        {"fgetc", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             EXPECT_EQ(s.GetByte(), -1);
             EXPECT_EQ(s.GetByte(), 'a');  // nothing was read
         }),
         std::nullopt},
        {"ftell", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             EXPECT_EQ(s.Tell(), -1L);
         }),
         std::nullopt},
        {"fseek", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             EXPECT_FALSE(s.Seek(2));
             EXPECT_EQ(s.GetByte(), 'a');
         }),
         std::nullopt},
        {"fseek", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             EXPECT_FALSE(s.SeekToEnd());
         }),
         std::nullopt},
        {"fputc", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             EXPECT_FALSE(s.PutByte('x'));
             EXPECT_EQ(m.files.Read("C:\\f.txt"), "abc");
         }),
         std::nullopt},
        {"fflush", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             s.Flush();
         }),
         std::nullopt},
        {"fclose", onStream([](Prepared& m, platform::ByteStream& s) {
             m.FailNext();
             s.Close();
             EXPECT_TRUE(m.files.OpenStreams().empty());  // closed whatever fclose says
         }),
         std::nullopt},
    });
}

TEST(SimFailures, ProcessesWindowsAndTheToken)
{
    RunCases({
        {"__argv",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().processes.ProgramName(), "");
         },
         std::nullopt},
        {"GetModuleFileNameA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().processes.ModulePath(), "");
         },
         sim::error::kNotEnoughMemory},
        {"ExpandEnvironmentStringsA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().processes.ExpandEnvironment("%windir%\\x"), "%windir%\\x");
         },
         sim::error::kNotEnoughMemory},
        {"WinExec",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().processes.RunCommand("C:\\p.exe", platform::kShowShow), 0u);
             EXPECT_TRUE(m.processes.Started().empty());
         },
         sim::error::kNotEnoughMemory},
        {"CreateProcessA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().processes.Start("C:\\p.exe", platform::kShowShow));
             EXPECT_TRUE(m.processes.Started().empty());
         },
         sim::error::kNotEnoughMemory},
        {"WaitForInputIdle",
         [](Prepared& m) {
             auto process = m.os().processes.Start("C:\\p.exe", platform::kShowShow);
             m.FailNext();
             EXPECT_EQ(m.os().processes.WaitForInputIdle(*process, 1000), sim::kWaitFailed);
             EXPECT_EQ(m.now(), 0u);  // at once
             m.os().processes.Release(*process);
         },
         sim::error::kInvalidHandle},
        {"WaitForSingleObject",
         [](Prepared& m) {
             auto process = m.os().processes.Start("C:\\p.exe", platform::kShowShow);
             m.FailNext();
             EXPECT_EQ(m.os().processes.WaitForExit(*process, 1000), sim::kWaitFailed);
             EXPECT_EQ(m.now(), 0u);
             m.os().processes.Release(*process);
         },
         sim::error::kInvalidHandle},
        {"GetExitCodeProcess",
         [](Prepared& m) {
             auto process = m.os().processes.Start("C:\\p.exe", platform::kShowShow);
             m.FailNext();
             // Not STILL_ACTIVE: a process that cannot be asked is not waited for.
             EXPECT_EQ(m.os().processes.ExitCode(*process), 0u);
             m.os().processes.Release(*process);
         },
         sim::error::kInvalidHandle},
        {"CloseHandle",
         [](Prepared& m) {
             auto process = m.os().processes.Start("C:\\p.exe", platform::kShowShow);
             m.FailNext();
             m.os().processes.Release(*process);
             EXPECT_TRUE(m.processes.OpenHandles().empty());
         },
         std::nullopt},
        {"FindWindowExA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().desktop.FindTopLevel("Mixer"));
         },
         sim::error::kNotEnoughMemory},
        {"SendMessageA",
         [](Prepared& m) {
             auto mixer = m.os().desktop.FindTopLevel("Mixer");
             m.FailNext();
             m.os().desktop.SendClose(*mixer);
             EXPECT_TRUE(m.desktop.IsOpen("Mixer"));
         },
         sim::error::kInvalidWindowHandle},
        {"MessageBoxA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().desktop.ShowMessage(platform::kNoWindow, "text", "Setup",
                                                  platform::kMessageBoxOk),
                       0);
             EXPECT_TRUE(m.desktop.MessageBoxes().empty());
         },
         sim::error::kNotEnoughMemory},
        {"GetDesktopWindow",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().desktop.DesktopWindow(), platform::kNoWindow);
         },
         std::nullopt},
        {"OpenProcessToken",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().security.OpenProcessTokenForAdjusting());
             EXPECT_EQ(m.security.openTokens, 0);
         },
         sim::error::kAccessDenied},
        {"LookupPrivilegeValueA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().security.LookupPrivilege("SeShutdownPrivilege"));
         },
         sim::error::kNoSuchPrivilege},
        {"AdjustTokenPrivileges",
         [](Prepared& m) {
             auto token = m.os().security.OpenProcessTokenForAdjusting();
             auto luid = m.os().security.LookupPrivilege("SeShutdownPrivilege");
             m.FailNext();
             EXPECT_FALSE(m.os().security.EnablePrivilege(*token, *luid));
             EXPECT_TRUE(m.security.enabledPrivileges.empty());
             m.os().security.CloseToken(*token);
         },
         sim::error::kAccessDenied},
        {"CloseHandle",
         [](Prepared& m) {
             auto token = m.os().security.OpenProcessTokenForAdjusting();
             m.FailNext();
             m.os().security.CloseToken(*token);
             EXPECT_EQ(m.security.openTokens, 0);
         },
         std::nullopt},
        {"ExitWindowsEx",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().security.ExitWindows(platform::kExitWindowsReboot, 0));
             EXPECT_TRUE(m.security.exitWindowsFlags.empty());
         },
         sim::error::kPrivilegeNotHeld},
        {"mixerGetNumDevs",
         [](Prepared& m) {
             m.mixer.count = 3;
             m.FailNext();
             EXPECT_EQ(m.os().mixer.DeviceCount(), 0);
         },
         std::nullopt},
    });
}

TEST(SimFailures, DeviceInstallation)
{
    auto withSet = [](std::function<void(Prepared&, platform::DeviceSet)> body) {
        return [body](Prepared& m) {
            auto set = m.os().devices.GetPresentDevices();
            ASSERT_TRUE(set);
            body(m, *set);
        };
    };
    RunCases({
        {"SetupDiGetClassDevsA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().devices.GetPresentDevices());
             EXPECT_EQ(m.devices.OpenDeviceSets(), 0u);
         },
         sim::error::kNotEnoughMemory},
        {"SetupDiEnumDeviceInfo", withSet([](Prepared& m, platform::DeviceSet set) {
             platform::DeviceInfo device;
             m.FailNext();
             EXPECT_FALSE(m.os().devices.EnumDevice(set, 0, device));
         }),
         sim::error::kInvalidHandle},
        {"SetupDiGetDeviceRegistryPropertyA", withSet([](Prepared& m, platform::DeviceSet set) {
             platform::DeviceInfo device;
             m.os().devices.EnumDevice(set, 0, device);
             m.FailNext();
             EXPECT_EQ(m.os().devices.GetHardwareIds(set, device).status,
                       platform::HardwareIds::Status::Failed);
         }),
         sim::error::kNotEnoughMemory},
        {"SetupDiRemoveDevice", withSet([](Prepared& m, platform::DeviceSet set) {
             platform::DeviceInfo device;
             m.os().devices.EnumDevice(set, 0, device);
             m.FailNext();
             EXPECT_FALSE(m.os().devices.RemoveDevice(set, device));
             EXPECT_TRUE(m.devices.Device("AUDIO")->present);
         }),
         sim::error::kAccessDenied},
        {"SetupDiDestroyDeviceInfoList", withSet([](Prepared& m, platform::DeviceSet set) {
             m.FailNext();
             m.os().devices.DestroyDeviceSet(set);
             EXPECT_EQ(m.devices.OpenDeviceSets(), 0u);
         }),
         std::nullopt},
        {"UpdateDriverForPlugAndPlayDevicesA",
         [](Prepared& m) {
             bool reboot = false;
             m.FailNext();
             EXPECT_FALSE(m.os().devices.UpdateDriver(platform::kNoWindow, "PCI\\VEN_1",
                                                      "C:\\f.txt", 1, reboot));
         },
         sim::error::kAccessDenied},
        {"SetupCopyOEMInfA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().devices.CopyOemInf("C:\\dir\\a.inf", "C:\\dir"));
             EXPECT_TRUE(m.devices.oemInfs.empty());
             EXPECT_TRUE(m.files.Exists("C:\\dir\\a.inf"));
         },
         sim::error::kAccessDenied},
        {"SetupQuerySourceListA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().devices.QuerySourceList(platform::kSourceListSystemUser));
             EXPECT_EQ(m.devices.OpenSourceLists(), 0u);
         },
         sim::error::kNotEnoughMemory},
        {"SetupSetSourceListA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().devices.SetSourceList(platform::kSourceListSystemUser, {"X"}));
             EXPECT_EQ(m.devices.sourceList, std::vector<std::string>{"D:\\"});
         },
         sim::error::kAccessDenied},
        {"SetupFreeSourceListA",
         [](Prepared& m) {
             auto list = m.os().devices.QuerySourceList(platform::kSourceListSystemUser);
             m.FailNext();
             m.os().devices.FreeSourceList(*list);
             EXPECT_EQ(m.devices.OpenSourceLists(), 0u);
         },
         std::nullopt},
        {"CM_Locate_DevNodeA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_FALSE(m.os().devices.LocateRootDevNode());
         },
         std::nullopt},
        {"CM_Reenumerate_DevNode",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().devices.ReenumerateDevNode(static_cast<platform::DevNode>(1), 0),
                       0x13u);  // CR_FAILURE
             EXPECT_EQ(m.devices.reenumerations, 0);
         },
         std::nullopt},
    });
}

TEST(SimFailures, DialogsAndResources)
{
    auto inDialog = [](std::function<void(Prepared&, WindowHandle)> body) {
        return [body](Prepared& m) { InDialog(m, [&](WindowHandle d) { body(m, d); }); };
    };
    RunCases({
        {"DialogBoxParamA",
         [](Prepared& m) {
             m.dialogs.Expect(100, [](sim::SimDialog& dialog) { dialog.PressOk(); });
             m.FailNext();
             InDialog(m, [](WindowHandle) { ADD_FAILURE() << "the dialog came up"; });
             EXPECT_TRUE(m.dialogs.Shown().empty());
             EXPECT_EQ(m.dialogs.UnusedScripts().size(), 1u);  // never came up
             InDialog(m, [](WindowHandle) {});  // uses it up
         },
         sim::error::kNotEnoughMemory},
        {"EndDialog", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.EndDialog(d, 1);
             EXPECT_FALSE(m.dialogs.Running(100)->Ended());  // it stays up
         }),
         sim::error::kInvalidWindowHandle},
        {"BM_GETCHECK", inDialog([](Prepared& m, WindowHandle d) {
             m.os().dialogs.SetCheck(d, 7, 1);
             m.FailNext();
             EXPECT_EQ(m.os().dialogs.GetCheck(d, 7), 0);
         }),
         sim::error::kInvalidWindowHandle},
        {"BM_SETCHECK", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.SetCheck(d, 7, 1);
             EXPECT_EQ(m.dialogs.Running(100)->Check(7), 0);
         }),
         sim::error::kInvalidWindowHandle},
        {"ShowWindow", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.ShowItem(d, 7, false);
             EXPECT_TRUE(m.dialogs.Running(100)->ItemVisible(7));
         }),
         sim::error::kInvalidWindowHandle},
        {"EnableWindow", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.EnableItem(d, 7, false);
             EXPECT_TRUE(m.dialogs.Running(100)->ItemEnabled(7));
         }),
         sim::error::kInvalidWindowHandle},
        {"RedrawWindow", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.RedrawItem(d, 7, platform::kRedrawInvalidateEraseNow);
             EXPECT_EQ(m.dialogs.Running(100)->Redraws(7), 0);
         }),
         sim::error::kInvalidWindowHandle},
        {"ShowWindow", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.ShowDialog(d, true);
             EXPECT_FALSE(m.dialogs.Running(100)->Visible());
         }),
         sim::error::kInvalidWindowHandle},
        {"IsIconic", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             EXPECT_FALSE(m.os().dialogs.IsMinimised(d));
         }),
         sim::error::kInvalidWindowHandle},
        {"GetSystemMenu", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             EXPECT_FALSE(m.os().dialogs.HasSystemMenu(d));
         }),
         sim::error::kInvalidWindowHandle},
        {"AppendMenuA", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.AppendSystemMenuSeparator(d);
             EXPECT_TRUE(m.dialogs.Running(100)->SystemMenuItems().empty());
         }),
         sim::error::kNotEnoughMemory},
        {"AppendMenuA", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.AppendSystemMenuItem(d, 0x10, "&About");
             EXPECT_TRUE(m.dialogs.Running(100)->SystemMenuItems().empty());
         }),
         sim::error::kNotEnoughMemory},
        {"WM_SETICON", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             m.os().dialogs.SetIcon(d, static_cast<platform::IconHandle>(5), true);
             EXPECT_EQ(m.dialogs.Running(100)->BigIcon(), platform::IconHandle::None);
         }),
         sim::error::kInvalidWindowHandle},
        {"GetClientRect", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             platform::Size size = m.os().dialogs.ClientSize(d);
             EXPECT_EQ(size.width, 0);
             EXPECT_EQ(size.height, 0);
         }),
         sim::error::kInvalidWindowHandle},
        {"BeginPaint", inDialog([](Prepared& m, WindowHandle d) {
             m.FailNext();
             platform::PaintContext context = m.os().dialogs.BeginPaint(d);
             EXPECT_EQ(context, static_cast<platform::PaintContext>(0));
             EXPECT_EQ(m.dialogs.OpenPaintContexts(), 0u);
             m.os().dialogs.EndPaint(d, context);  // as the framework does all the same
         }),
         sim::error::kInvalidWindowHandle},
        {"SendMessageA", inDialog([](Prepared& m, WindowHandle d) {
             platform::PaintContext context = m.os().dialogs.BeginPaint(d);
             m.FailNext();
             m.os().dialogs.EraseIconBackground(d, context);
             EXPECT_EQ(m.dialogs.Running(100)->IconBackgroundErases(), 0);
             m.os().dialogs.EndPaint(d, context);
         }),
         sim::error::kInvalidWindowHandle},
        {"DrawIcon", inDialog([](Prepared& m, WindowHandle d) {
             platform::PaintContext context = m.os().dialogs.BeginPaint(d);
             m.FailNext();
             m.os().dialogs.DrawIcon(context, 1, 2, static_cast<platform::IconHandle>(5));
             EXPECT_TRUE(m.dialogs.Running(100)->DrawnIcons().empty());
             m.os().dialogs.EndPaint(d, context);
         }),
         sim::error::kInvalidHandle},
        {"EndPaint", inDialog([](Prepared& m, WindowHandle d) {
             platform::PaintContext context = m.os().dialogs.BeginPaint(d);
             m.FailNext();
             m.os().dialogs.EndPaint(d, context);
             EXPECT_EQ(m.dialogs.OpenPaintContexts(), 0u);
         }),
         std::nullopt},
        {"GetSystemMetrics",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().dialogs.IconMetrics().width, 0);
         },
         std::nullopt},
        {"LoadStringA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().dialogs.LoadText(101), "");
         },
         sim::error::kResourceNameNotFound},
        {"LoadIconA",
         [](Prepared& m) {
             m.FailNext();
             EXPECT_EQ(m.os().dialogs.LoadAppIcon(128), platform::IconHandle::None);
         },
         sim::error::kResourceNameNotFound},
        // The framework counts its wait cursors itself; a cursor that cannot
        // be set leaves the count as the calls made it.
        {"BeginWaitCursor",
         [](Prepared& m) {
             m.FailNext();
             m.os().dialogs.BeginWaitCursor();
             EXPECT_EQ(m.dialogs.WaitCursorDepth(), 1);
             m.os().dialogs.EndWaitCursor();
         },
         std::nullopt},
        {"EndWaitCursor",
         [](Prepared& m) {
             m.os().dialogs.BeginWaitCursor();
             m.FailNext();
             m.os().dialogs.EndWaitCursor();
             EXPECT_EQ(m.dialogs.WaitCursorDepth(), 0);
         },
         std::nullopt},
        {"Enable3dControlsStatic",
         [](Prepared& m) {
             m.FailNext();
             m.os().dialogs.Enable3dControls();
         },
         std::nullopt},
    });
}

// Sleeping, the last error and the C runtime's exit have no failure: they
// count as calls, and a fault aimed at one changes nothing.
TEST(SimFailures, CallsWithoutAFailureCountButDoNotFail)
{
    sim::SimMachine machine;
    machine.faults.FailFrom(1);
    machine.faults.Fail("Sleep");  // never used: a Sleep cannot fail
    machine.os().clock.Sleep(100);
    machine.os().clock.SleepEx(200);
    machine.os().errors.SetLastError(42);
    EXPECT_EQ(machine.os().errors.LastError(), 42u);
    EXPECT_THROW(machine.os().processes.Exit(3), sim::SimExit);
    EXPECT_EQ(machine.now(), 300u);
    EXPECT_EQ(machine.context.calls, 5u);
    for (const sim::SimCall& call : machine.log().Calls())
        EXPECT_EQ(call.detail.find("(failed)"), std::string::npos) << call.function;
    EXPECT_EQ(machine.UnusedScripts().size(), 1u);
    machine.faults = sim::SimFaults{};
}

}  // namespace
