#!/usr/bin/env python3
"""Windows 98, the hand-over to the media's Setup.exe, with the log asked for
at paths a person might mistype. The log writes only into a file of its own:
setup.ini's LogFile=win.ini (the Windows directory's win.ini) and
W2KSETUP_LOG=C:\\autoexec.bat stay byte for byte as they were; a device name
(LPT1.log) and a folder are never opened (Wine's trace of fopen shows no
call for them); each run still hands over. Two runs with W2KSETUP_LOG naming
a new file write two blocks into it, the second appended to the first."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from wine_machine.installer import WINDOWS  # noqa: E402

FOPEN = "msvcrt.fopen"
AUTOEXEC = "C:\\autoexec.bat"
AUTOEXEC_BYTES = b"@ECHO OFF\r\nPATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n"
FOLDER = "C:\\Logs"
LOG = "C:\\handover.log"
BLOCK_START = b"\r\n" + b"=" * 60 + b"\r\nW2KSetup.exe, Setup Version 2.0\r\n"


def opened(case, path):
    """The traced fopen calls whose file name holds `path` (without case)."""
    escaped = path.replace("\\", "\\\\").lower()
    return [arguments for arguments, _ in case.traced_calls(FOPEN)
            if escaped in arguments.lower()]


def expect_hand_overs(case, count):
    """Setup.exe records its start a moment after the installer has ended."""
    deadline = time.monotonic() + 10
    while len(case.records("start", program="Setup.exe")) < count and time.monotonic() < deadline:
        time.sleep(0.2)
    case.expect_equal(len(case.records("start", program="Setup.exe")), count,
                      "hand-overs to the media's Setup.exe")


def win98_log_own_file(case):
    traced = case.trace_calls(FOPEN)
    media = case.make_media(driver_only=1, log_file="win.ini")
    case.put_file(AUTOEXEC, AUTOEXEC_BYTES)
    os.makedirs(case.unix_path(FOLDER))
    win_ini = case.read_file(WINDOWS + "win.ini")
    case.expect(win_ini is not None, "the prefix has no win.ini")

    runs = [None, AUTOEXEC, "LPT1.log", FOLDER, LOG, LOG]
    for variable in runs:
        env = dict(traced)
        if variable is not None:
            env["W2KSETUP_LOG"] = variable
        case.run_installer(media, env=env, timeout=20).expect_exit(0)
    expect_hand_overs(case, len(runs))

    case.expect_equal(case.read_file(WINDOWS + "win.ini"), win_ini, "win.ini after LogFile=win.ini")
    case.expect_equal(case.read_file(AUTOEXEC), AUTOEXEC_BYTES, "autoexec.bat")
    case.expect_equal(opened(case, "LPT1"), [], "fopen calls on the device LPT1")
    case.expect_equal(opened(case, FOLDER), [], "fopen calls on the folder " + FOLDER)
    case.expect_equal(os.listdir(case.unix_path(FOLDER)), [], "what the folder holds")

    log = case.read_file(LOG) or b""
    case.expect(log.startswith(BLOCK_START), "the log does not begin with its block: %r"
                % log[:100])
    case.expect_equal(log.count(BLOCK_START), 2, "blocks in " + LOG)
    case.expect_equal(log.count(b"Outcome: Hand-over started: "), 2, "outcomes in " + LOG)
    case.expect(opened(case, LOG), "no fopen of " + LOG)


if __name__ == "__main__":
    run_case(win98_log_own_file, windows="win98")
