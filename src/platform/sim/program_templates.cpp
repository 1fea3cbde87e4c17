#include "platform/sim/program_templates.h"

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
    about.controls = {{IDC_STATIC, SimControlKind::Icon, false, false, ""},
                      {IDC_STATIC, SimControlKind::Static, kGroup, false, "Setup Version 2.0"},
                      {IDC_STATIC, SimControlKind::Static, kGroup, false,
                       "Copyright (C) 2002 Quarnel"},
                      {1, SimControlKind::PushButton, kGroup, kTabStop, "OK"}};
    dialogs.DefineTemplate(IDD_ABOUTBOX, about);

    sim::SimTemplate setup;
    setup.title = "PCI Audio Device Driver And Applications Setup Program";
    setup.controls = {
        {1, SimControlKind::PushButton, false, kTabStop, "OK"},
        {2, SimControlKind::PushButton, false, kTabStop, "Cancel"},
        {IDC_STATIC, SimControlKind::GroupBox, false, false, ""},
        {IDC_PLEASE_WAIT, SimControlKind::Static, kGroup, false, "Please wait ....."},
        {IDC_INSTALL_APPLICATIONS, SimControlKind::CheckBox, false, kTabStop,
         "Install Applications"},
        {IDC_INSTALL_DRIVER, SimControlKind::CheckBox, false, kTabStop, "Install Device Driver"},
        {IDC_STATIC, SimControlKind::Static, kGroup, false,
         "Please select the installation options:"}};
    dialogs.DefineTemplate(IDD_SETUP_DIALOG, setup);

    sim::SimTemplate win2000;
    win2000.title = "PCI Audio Device Driver Setup Program for Windows 2000";
    win2000.controls = {
        {1, SimControlKind::PushButton, false, kTabStop, "Install"},
        {2, SimControlKind::PushButton, false, kTabStop, "Cancel"},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_DISABLE_LEGACY, SimControlKind::CheckBox, false, kTabStop,
         "Disable legacy device (MIDI/GAME port)"},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_STATIC, SimControlKind::GroupBox, false, false, "Phone Jacks"},
        {IDC_ON_MOTHERBOARD, SimControlKind::RadioButton, kGroup, false, "5740 in MotherBoard"},
        {IDC_ON_SOUND_CARD, SimControlKind::RadioButton, kGroup, false,
         "5740 in sound card (rear speakers jack individually)"},
        {IDC_LINE_IN_REAR, SimControlKind::CheckBox, false, kTabStop,
         "Line-in and rear speaker output share the same jack."},
        {IDC_LINE_IN_CENTRE, SimControlKind::CheckBox, false, kTabStop,
         "Line-in and Center/Subwoofer share the same jack."},
        {IDC_MIC_SUBWOOFER, SimControlKind::CheckBox, false, kTabStop,
         "Microphone and Subwoofer share the same jack."},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""}};
    dialogs.DefineTemplate(IDD_WIN2000_SETUP, win2000);

    sim::SimTemplate restart;
    restart.title = "Restarting Windows";
    restart.controls = {
        {1, SimControlKind::PushButton, false, kTabStop, "OK"},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_STATIC, SimControlKind::Static, kGroup, false, ""},
        {IDC_RESTART_YES, SimControlKind::RadioButton, false, false,
         "Yes, I want to restart my computer now."},
        {IDC_RESTART_NO, SimControlKind::RadioButton, false, false,
         "No, I will restart my computer later."}};
    dialogs.DefineTemplate(IDD_RESTART, restart);

    dialogs.strings[IDS_ABOUTBOX] = "&About Setup...";
    dialogs.icons.insert(IDR_MAINFRAME);
}
