#!/usr/bin/env python3
"""Windows 98, command line "/S" on a media whose setup.ini asks for the
driver (DriverOnly=1): the installer has no unattended path there. It ends
with 1633, starts nothing (the media's Setup.exe is not handed over to) and
installs nothing; only the start-up's CD player setting is written."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from harness.installer import run_silent  # noqa: E402


def win98_silent(case):
    media = case.make_media(driver_only=1)
    before = case.snapshot()

    shown, _ = run_silent(case, media, "/S", 1633, timeout=20)

    case.expect_equal(shown, [], "windows the installer showed")
    case.expect_equal(case.records("start"), [], "programs started")
    changes = [c for c in case.changes(before)
               if c.lower() != "file added: c:\\windows\\qncdplay.ini"]
    case.expect(not changes, "\"/S\" on Windows 98 changed:\n" + "\n".join(changes))


if __name__ == "__main__":
    run_case(win98_silent, windows="win98")
