#include "sim/program_templates.h"

#include "resources/resource.h"

namespace {

using sim::SimControlKind;

constexpr bool kGroup = true;
constexpr bool kTabStop = true;

}  // namespace

void DefineProgramResources(sim::SimDialogs& dialogs)
{
    sim::SimTemplate about;
    about.title = "About Setup";
    about.controls = {{IDC_STATIC, SimControlKind::Icon, false},
                      {IDC_STATIC, SimControlKind::Static, kGroup},
                      {IDC_STATIC, SimControlKind::Static, kGroup},
                      {1, SimControlKind::PushButton, kGroup, kTabStop}};
    about.captions = {{1, "OK"}};
    dialogs.DefineTemplate(IDD_ABOUTBOX, about);

    sim::SimTemplate setup;
    setup.title = "PCI Audio Device Driver And Applications Setup Program";
    setup.controls = {{1, SimControlKind::PushButton, false, kTabStop},
                      {2, SimControlKind::PushButton, false, kTabStop},
                      {IDC_STATIC, SimControlKind::GroupBox, false},
                      {IDC_PLEASE_WAIT, SimControlKind::Static, kGroup},
                      {IDC_INSTALL_APPLICATIONS, SimControlKind::CheckBox, false, kTabStop},
                      {IDC_INSTALL_DRIVER, SimControlKind::CheckBox, false, kTabStop},
                      {IDC_STATIC, SimControlKind::Static, kGroup}};
    setup.captions = {{1, "OK"},
                      {2, "Cancel"},
                      {IDC_INSTALL_APPLICATIONS, "Install Applications"},
                      {IDC_INSTALL_DRIVER, "Install Device Driver"}};
    dialogs.DefineTemplate(IDD_SETUP_DIALOG, setup);

    sim::SimTemplate win2000;
    win2000.title = "PCI Audio Device Driver Setup Program for Windows 2000";
    win2000.controls = {{1, SimControlKind::PushButton, false, kTabStop},
                        {2, SimControlKind::PushButton, false, kTabStop},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_DISABLE_LEGACY, SimControlKind::CheckBox, false, kTabStop},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_STATIC, SimControlKind::GroupBox, false},
                        {IDC_ON_MOTHERBOARD, SimControlKind::RadioButton, kGroup},
                        {IDC_ON_SOUND_CARD, SimControlKind::RadioButton, kGroup},
                        {IDC_LINE_IN_REAR, SimControlKind::CheckBox, false, kTabStop},
                        {IDC_LINE_IN_CENTRE, SimControlKind::CheckBox, false, kTabStop},
                        {IDC_MIC_SUBWOOFER, SimControlKind::CheckBox, false, kTabStop},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_STATIC, SimControlKind::Static, kGroup}};
    win2000.captions = {
        {1, "Install"},
        {2, "Cancel"},
        {IDC_DISABLE_LEGACY, "Disable legacy device (MIDI/GAME port)"},
        {IDC_ON_MOTHERBOARD, "5740 in MotherBoard"},
        {IDC_ON_SOUND_CARD, "5740 in sound card (rear speakers jack individually)"},
        {IDC_LINE_IN_REAR, "Line-in and rear speaker output share the same jack."},
        {IDC_LINE_IN_CENTRE, "Line-in and Center/Subwoofer share the same jack."},
        {IDC_MIC_SUBWOOFER, "Microphone and Subwoofer share the same jack."}};
    dialogs.DefineTemplate(IDD_WIN2000_SETUP, win2000);

    sim::SimTemplate restart;
    restart.title = "Restarting Windows";
    restart.controls = {{1, SimControlKind::PushButton, false, kTabStop},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_RESTART_YES, SimControlKind::RadioButton, false},
                        {IDC_RESTART_NO, SimControlKind::RadioButton, false}};
    restart.captions = {{1, "OK"},
                        {IDC_RESTART_YES, "Yes, I want to restart my computer now."},
                        {IDC_RESTART_NO, "No, I will restart my computer later."}};
    dialogs.DefineTemplate(IDD_RESTART, restart);

    dialogs.strings[IDS_ABOUTBOX] = "&About Setup...";
    dialogs.icons.insert(IDR_MAINFRAME);
}
