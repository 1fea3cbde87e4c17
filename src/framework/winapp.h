// The framework's application object and the start that runs it.
#pragma once

#include "framework/wnd.h"
#include "platform/platform.h"

class CWinApp {
public:
    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The command line after the program name, as the start received it.
    char* m_lpCmdLine = nullptr;
    // The window that stands for the application while a dialog runs.
    CWnd* m_pMainWnd = nullptr;

    // Does the application's work; FALSE ends the program without a message loop.
    virtual bool InitInstance();
    virtual int ExitInstance();

    platform::Platform& os() const { return *m_os; }
    platform::IconHandle LoadIcon(int iconId);
    void BeginWaitCursor();
    void EndWaitCursor();

    // The start of the program: attaches the platform and the command line,
    // runs InitInstance and returns the program's exit code.
    friend int AfxWinMain(CWinApp& app, platform::Platform& os, char* commandLine);

private:
    platform::Platform* m_os = nullptr;
};

int AfxWinMain(CWinApp& app, platform::Platform& os, char* commandLine);
