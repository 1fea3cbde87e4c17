// Who paints: the main options dialog draws its icon while minimised; the
// about box, the restart prompt and the Windows 2000/XP dialog leave their
// painting and the drag icon to the system, minimised or not.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/driver_media.h"
#include "support/setup_machine.h"

namespace {

void ExpectPaintingLeftToTheSystem(sim::SimDialog& dialog)
{
    dialog.Repaint();
    dialog.SystemCommand(platform::kSysCommandMinimise);
    dialog.Repaint();
    EXPECT_EQ(dialog.DefaultPaints(), 2) << "dialog " << dialog.TemplateId();
    EXPECT_TRUE(dialog.DrawnIcons().empty()) << "dialog " << dialog.TemplateId();
    EXPECT_EQ(dialog.IconBackgroundErases(), 0) << "dialog " << dialog.TemplateId();
    EXPECT_EQ(dialog.DragIcon(), platform::IconHandle::None) << "dialog " << dialog.TemplateId();
    dialog.SystemCommand(platform::kSysCommandRestore);
}

TEST(Painting, TheAboutBoxLeavesItToTheSystem)
{
    SetupMachine machine;
    machine.AddPackage();
    machine.dialogs.Expect(IDD_SETUP_DIALOG, [](sim::SimDialog& dialog) {
        dialog.SystemCommand(IDM_ABOUTBOX);
        dialog.PressCancel();
    });
    machine.dialogs.Expect(IDD_ABOUTBOX, [](sim::SimDialog& about) {
        ExpectPaintingLeftToTheSystem(about);
        about.PressOk();
    });
    machine.Run("");
    EXPECT_EQ(machine.log().Count("BeginPaint"), 0u);
}

TEST(Painting, TheRestartPromptLeavesItToTheSystem)
{
    SetupMachine machine;
    driver_media::AddDriverPackage(machine, "D:\\WIN_ME\\drv\\", "me");
    machine.dialogs.Expect(IDD_RESTART, [](sim::SimDialog& prompt) {
        ExpectPaintingLeftToTheSystem(prompt);
        prompt.Click(IDC_RESTART_NO);
        prompt.PressOk();
    });
    machine.Run("/DRIVER");
    EXPECT_EQ(machine.log().Count("BeginPaint"), 0u);
}

TEST(Painting, TheWindows2000DialogLeavesItToTheSystem)
{
    SetupMachine machine;
    machine.InstallOption("WebSetup", 1);
    machine.InstallOption("InstallWDMDriver", 1);
    machine.dialogs.Expect(IDD_WIN2000_SETUP, [](sim::SimDialog& dialog) {
        ExpectPaintingLeftToTheSystem(dialog);
        dialog.PressCancel();
    });
    machine.Run("");
    EXPECT_EQ(machine.log().Count("BeginPaint"), 0u);
}

}  // namespace
