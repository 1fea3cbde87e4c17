#!/usr/bin/env python3
"""Windows XP, no W2KSETUP_LOG and no LogFile in setup.ini: the installer
writes no log. The run (WebSetup=1 without InstallWDMDriver, which installs
nothing) adds QNCDPLAY.INI and no other file, neither in the prefix nor on
the media."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from wine_machine.files import diff, snapshot  # noqa: E402


def xp_no_log(case):
    media = case.make_media(web_setup=1, install_wdm_driver=0)
    before = case.snapshot()
    media_before = snapshot(media.unix)

    case.run_installer(media, timeout=20).expect_exit(0)

    added = [c for c in case.changes(before) if c.startswith(("file added", "folder added"))]
    case.expect_equal([c.lower() for c in added], ["file added: c:\\windows\\qncdplay.ini"],
                      "files and folders the run added to the prefix")
    case.expect_equal(diff(media_before, snapshot(media.unix)), [], "changes on the media")


if __name__ == "__main__":
    run_case(xp_no_log, windows="winxp")
