#!/usr/bin/env python3
"""Windows 98 with the environment variable W2KSETUP_LOG set and setup.ini
without LogFile: the installer hands over to the media's Setup.exe, and its
log, in the file the variable names, tells Windows 98, the hand-over's path
and the command it started. Besides QNCDPLAY.INI the log is the only file
the run adds."""

import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from harness.install_log import expect_steps, log_lines, the_line  # noqa: E402

LOG = "C:\\handover.log"


def win98_handover_log_variable(case):
    media = case.make_media(driver_only=1)
    before = case.snapshot()

    case.run_installer(media, env={"W2KSETUP_LOG": LOG}, timeout=20).expect_exit(0)
    started = case.wait_for_record("start", program="Setup.exe")
    case.expect_equal(started["cmdline"], media.windows + "Setup.exe /DRIVER",
                      "command line of the media's Setup.exe")

    lines = log_lines(case, LOG)
    if not case.expect(lines, "no log in " + LOG):
        return
    shutil.copy(case.unix_path(LOG), os.path.join(case.artifacts, "handover.log"))
    case.expect(the_line(case, lines, "Windows:").startswith(
        "Windows:       Windows 98 (platform 1, 4.10.2222"), "the Windows line")
    case.expect_equal(the_line(case, lines, "setup.ini:"),
                      'setup.ini:     DriverOnly=1, WebSetup=0, InstallWDMDriver=0, '
                      'UsingCDDA=0, LogFile=""', "setup.ini's values")
    case.expect_equal(the_line(case, lines, "Path:"),
                      "Path:          Windows 98, no switch, WebSetup=0, DriverOnly=1: "
                      "hand-over to the media's Setup.exe", "the path")
    case.expect_equal(lines[9][44:], 'GetEnvironmentVariableA("W2KSETUP_LOG") = "%s"' % LOG,
                      "the first call")
    expect_steps(case, lines, ["start-up", "default sound format", "Run value", "SourceDir",
                               "setup.ini", "CD player setting", "Windows version",
                               "hand-over", "end of the run"])
    case.expect_equal(the_line(case, lines, "WinExec(")[44:],
                      'WinExec("%sSetup.exe /DRIVER", SW_SHOW) = 33' % media.windows,
                      "the hand-over's line")
    case.expect_equal([line[44:] for line in lines[-2:]],
                      ["Outcome: Hand-over started: %sSetup.exe /DRIVER." % media.windows,
                       'Exit code: 0 (only "/S" tells its result in the exit code)'],
                      "the outcome and the exit code")

    changes = sorted(c.lower() for c in case.changes(before))
    case.expect_equal(changes, ["file added: c:\\handover.log",
                                "file added: c:\\windows\\qncdplay.ini"],
                      "what the run added")


if __name__ == "__main__":
    run_case(win98_handover_log_variable, windows="win98")
