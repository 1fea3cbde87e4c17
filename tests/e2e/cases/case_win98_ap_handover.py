#!/usr/bin/env python3
"""Windows 98, command line "/ap": the installer hands over to the media's
Setup.exe with " /AP" appended and installs nothing itself.

setup.ini asks for the driver only (DriverOnly=1), so the case also shows
that the application literal wins over it in the hand-over."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402


def win98_ap_handover(case):
    media = case.make_media(driver_only=1)
    before = case.snapshot()

    case.run_installer(media, "/ap", timeout=20).expect_exit(0)

    started = case.wait_for_record("start", program="Setup.exe")
    case.wait_for_record("exit", program="Setup.exe")
    case.expect_equal(started.program.lower(), media.path("Setup.exe").lower(),
                      "program started by the hand-over")
    case.expect_equal(started["cmdline"], media.windows + "Setup.exe /AP",
                      "command line of the media's Setup.exe")
    # WinExec with SW_SHOW: STARTF_USESHOWWINDOW and show command 5.
    case.expect_equal((started["startup_flags"], started["show_window"]), ("1", "5"),
                      "STARTUPINFO flags and show command of the media's Setup.exe")
    case.expect_equal(len(case.records("start")), 1, "number of programs started")

    case.expect_equal(case.read_ini("C:\\windows\\QNCDPLAY.INI"),
                      {"cd player": {"usingcdda": "0"}}, "QNCDPLAY.INI")
    changes = [c for c in case.changes(before)
               if c.lower() != "file added: c:\\windows\\qncdplay.ini"]
    case.expect(not changes, "a hand-over installs nothing, but the run changed:\n"
                + "\n".join(changes))


if __name__ == "__main__":
    run_case(win98_ap_handover, windows="win98")
