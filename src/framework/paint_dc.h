// The framework's paint context: BeginPaint when made, EndPaint when gone.
#pragma once

#include "framework/wnd.h"

class CPaintDC {
public:
    explicit CPaintDC(CWnd& window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    platform::PaintContext m_hDC;

    // WM_ICONERASEBKGND to the window with this context: the background
    // behind a minimised window's icon.
    void EraseIconBackground();
    void DrawIcon(int x, int y, platform::IconHandle icon);

private:
    CWnd& m_window;
};
