/* A top-level window that plays a running application (the mixer, the audio
 * applications): it records every WM_CLOSE it gets and then goes away. */
#ifndef E2E_HOLDER_H
#define E2E_HOLDER_H

#include <windows.h>

typedef struct {
    const char* title;      /* window title, the name the installer looks for */
    const char* className;  /* window class; NULL for the helpers' own */
    DWORD maxMs;            /* give up after this long (records "timeout") */
    BOOL ignoreClose;       /* record WM_CLOSE but stay, like a program that refuses */
} HoldOptions;

/* Creates the window, records "ready", runs its message loop and returns the
 * exit code: 0 after a WM_CLOSE, 2 after the time limit. */
int HoldWindow(const HoldOptions* options);

#endif
