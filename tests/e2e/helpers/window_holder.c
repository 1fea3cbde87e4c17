/* Holds a top-level window with a given title, as a running application
 * would ("Mixer", "TuneStack", "CD Player", ...), records each WM_CLOSE it
 * gets and then ends.
 *
 *   window_holder.exe [--class NAME] [--max-ms N] [--ignore-close] TITLE
 *
 * Records "ready" once the window exists, "close" for each WM_CLOSE,
 * "timeout" when nothing closed it within --max-ms (default 120000), and
 * "exit" when it ends. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "holder.h"
#include "records.h"

int main(int argc, char** argv)
{
    HoldOptions options;
    int i;
    options.title = NULL;
    options.className = NULL;
    options.maxMs = 120000;
    options.ignoreClose = FALSE;

    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--class") == 0 && i + 1 < argc)
            options.className = argv[++i];
        else if (strcmp(argv[i], "--max-ms") == 0 && i + 1 < argc)
            options.maxMs = strtoul(argv[++i], NULL, 10);
        else if (strcmp(argv[i], "--ignore-close") == 0)
            options.ignoreClose = TRUE;
        else if (!options.title)
            options.title = argv[i];
        else {
            options.title = NULL; /* a second title: not understood */
            break;
        }
    }
    if (!options.title) {
        fprintf(stderr, "usage: window_holder [--class NAME] [--max-ms N] [--ignore-close] TITLE\n");
        return 64;
    }
    {
        int exitCode = HoldWindow(&options);
        RecordBegin("exit");
        RecordField("title", options.title);
        RecordFieldNumber("exit_code", (unsigned long)exitCode);
        RecordWrite();
        return exitCode;
    }
}
