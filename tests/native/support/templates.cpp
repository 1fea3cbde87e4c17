#include "support/templates.h"

#include "resources/resource.h"

namespace {

using sim::SimControlKind;

constexpr bool kGroup = true;
constexpr bool kTabStop = true;

}  // namespace

void DefineProgramResources(sim::SimDialogs& dialogs)
{
    sim::SimTemplate about;
    about.controls = {{IDC_STATIC, SimControlKind::Icon, false},
                      {IDC_STATIC, SimControlKind::Static, kGroup},
                      {IDC_STATIC, SimControlKind::Static, kGroup},
                      {1, SimControlKind::PushButton, kGroup, kTabStop}};
    dialogs.DefineTemplate(IDD_ABOUTBOX, about);

    sim::SimTemplate setup;
    setup.controls = {{1, SimControlKind::PushButton, false, kTabStop},
                      {2, SimControlKind::PushButton, false, kTabStop},
                      {IDC_STATIC, SimControlKind::GroupBox, false},
                      {IDC_PLEASE_WAIT, SimControlKind::Static, kGroup},
                      {IDC_INSTALL_APPLICATIONS, SimControlKind::CheckBox, false, kTabStop},
                      {IDC_INSTALL_DRIVER, SimControlKind::CheckBox, false, kTabStop},
                      {IDC_STATIC, SimControlKind::Static, kGroup}};
    dialogs.DefineTemplate(IDD_SETUP_DIALOG, setup);

    sim::SimTemplate win2000;
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
    dialogs.DefineTemplate(IDD_WIN2000_SETUP, win2000);

    sim::SimTemplate restart;
    restart.controls = {{1, SimControlKind::PushButton, false, kTabStop},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_STATIC, SimControlKind::Static, kGroup},
                        {IDC_RESTART_YES, SimControlKind::RadioButton, false},
                        {IDC_RESTART_NO, SimControlKind::RadioButton, false}};
    dialogs.DefineTemplate(IDD_RESTART, restart);

    dialogs.strings[IDS_ABOUTBOX] = "&About Setup...";
    dialogs.icons.insert(IDR_MAINFRAME);
}
