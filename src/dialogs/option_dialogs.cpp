#include "dialogs/option_dialogs.h"

// The dialogs come with the dialog subsystem; until then the run ends here.
void RunMainOptionsDialog(CWinApp&) {}
void RunWin2000OptionsDialog(CWinApp&) {}
