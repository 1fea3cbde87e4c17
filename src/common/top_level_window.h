// Other programs' windows, found by their exact title.
#pragma once

#include "platform/desktop.h"

// Finds the top-level window with exactly this title (any class) and sends
// it WM_CLOSE, which returns when the window has handled it. Returns whether
// there was such a window.
bool CloseWindowByTitle(platform::Desktop& desktop, const char* title);
