// The two option dialogs that InitInstance can show as the main window.
#pragma once

class CWinApp;

// CSetupDlg: the main installation-options dialog.
void RunMainOptionsDialog(CWinApp& app);
// CWin2000SetupDlg: the Windows 2000/XP driver options dialog.
void RunWin2000OptionsDialog(CWinApp& app);
