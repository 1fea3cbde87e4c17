#include "common/top_level_window.h"

bool CloseWindowByTitle(platform::Desktop& desktop, const char* title)
{
    auto window = desktop.FindTopLevel(title);
    if (window)
        desktop.SendClose(*window);
    return window.has_value();
}
