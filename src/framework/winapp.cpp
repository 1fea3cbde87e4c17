#include "framework/winapp.h"

bool CWinApp::InitInstance()
{
    return false;
}

int CWinApp::ExitInstance()
{
    return 0;
}

platform::IconHandle CWinApp::LoadIcon(int iconId)
{
    return m_os->dialogs.LoadAppIcon(iconId);
}

void CWinApp::BeginWaitCursor()
{
    m_os->dialogs.BeginWaitCursor();
}

void CWinApp::EndWaitCursor()
{
    m_os->dialogs.EndWaitCursor();
}

int AfxWinMain(CWinApp& app, platform::Platform& os, char* commandLine)
{
    app.m_os = &os;
    app.m_lpCmdLine = commandLine;
    // InitInstance does all the work; no message loop runs after it, whatever
    // it returns.
    app.InitInstance();
    app.m_pMainWnd = nullptr;
    return app.ExitInstance();
}
