// Resource and control ids, shared by the .rc files and the dialog classes.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_WIN2000_SETUP 131
#define IDD_RESTART 132

// The about item of the main dialog's system menu.
#define IDM_ABOUTBOX 0x0010

// Main installation-options dialog (102).
#define IDC_INSTALL_APPLICATIONS 1001
#define IDC_INSTALL_DRIVER 1002
#define IDC_PLEASE_WAIT 1003

// Windows 2000/XP driver options dialog (131).
#define IDC_DISABLE_LEGACY 1000
#define IDC_ON_MOTHERBOARD 1006
#define IDC_ON_SOUND_CARD 1007
#define IDC_LINE_IN_REAR 1011
#define IDC_LINE_IN_CENTRE 1012
#define IDC_MIC_SUBWOOFER 1013

// Restart prompt (132).
#define IDC_RESTART_YES 1000
#define IDC_RESTART_NO 1001
