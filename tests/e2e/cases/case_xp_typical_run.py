#!/usr/bin/env python3
"""Windows XP, the device present, the old driver's mixer running, no
command line, "WebSetup" = 0, the media with the application package and the
WinXP driver package: the user clears "Install Applications", presses OK and
answers the driver notice. While the driver installs, the main dialog stays
on screen with "Please wait ....." instead of its boxes; an earlier driver's
INF goes, the WinXP package is staged, the device is updated in place. After
the completion wait the restart prompt comes with "Yes" preset; OK requests
the reboot (Wine's relay trace shows ExitWindowsEx(EWX_REBOOT, 0) answered
TRUE) and the installer ends without starting the package's setup. Wine then
restarts the session: its Run entries start, and the installer's own
(-ReplaceMixer) closes the mixer, puts the WinXP package's Mixer.dat in its
place, starts it with /startup and removes its Run value."""

# ctest-timeout: 240

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from harness.typical_run import TypicalRun  # noqa: E402


def xp_typical_run(case):
    run = TypicalRun(case)
    run.drive()
    run.check()


if __name__ == "__main__":
    run_case(xp_typical_run, windows="winxp")
