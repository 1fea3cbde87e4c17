#!/usr/bin/env python3
"""Windows XP, the device present and an earlier driver's mixer running,
command line "/S" on the sample media, setup.ini asking for a log: the
installer shows no window at all, closes the mixer, stages the DOS files and
the WinXP driver package, updates the device from the staged INF and
registers the mixer replacement in the Run key; it never asks Windows to
restart, and ends with 3010 after the completion wait. Its log ends with
the outcome and the exit code with its meaning."""

# ctest-timeout: 240

import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import HARDWARE_ID, run_case  # noqa: E402
from wine_machine.installer import REBOOT_CALL, WINDOWS  # noqa: E402
from harness.installer import (expect_device_updated, expect_driver_package_staged,  # noqa: E402
                               expect_mixer_replacement_registered, run_silent)
from harness.install_log import expect_steps, log_lines, the_line  # noqa: E402

LOG = WINDOWS + "w2ksetup.log"
COMPLETION_WAIT_S = 30


def xp_silent(case):
    traced = case.trace_calls(REBOOT_CALL)
    media = case.make_media(log_file="w2ksetup.log")
    instance = case.add_device(HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID)
    case.hold_window("Mixer")

    shown, seconds = run_silent(case, media, "/S", 3010, timeout=120, env=traced)
    print("timing: /S took %.2f s, the completion wait %d s" % (seconds or 0.0, COMPLETION_WAIT_S))
    case.expect_equal(shown, [], "windows the installer showed")
    case.expect_equal(case.traced_calls(REBOOT_CALL), [], "calls of ExitWindowsEx")
    case.expect_equal(len(case.records("close", title="Mixer")), 1,
                      "WM_CLOSE messages the mixer window got")
    expect_driver_package_staged(case, media, "WinXP\\drv\\")
    expect_mixer_replacement_registered(case)
    expect_device_updated(case, instance)

    lines = log_lines(case, LOG)
    if not case.expect(lines, "no log in " + LOG):
        return
    shutil.copy(case.unix_path(LOG), os.path.join(case.artifacts, "w2ksetup.log"))
    case.expect_equal(the_line(case, lines, "Path:"),
                      'Path:          Windows XP, switch "/S", WebSetup=0: '
                      'silent driver installation, its result in the exit code', "the path")
    expect_steps(case, lines, ["start-up", "default sound format", "Run value", "SourceDir",
                               "setup.ini", "CD player setting", "Windows version",
                               "closing the audio applications", "legacy INF clean-up",
                               "staging the driver package", "device search", "direct update",
                               "waiting for the new mixers", "end of the run"])
    case.expect_equal([line[44:] for line in lines[-2:]],
                      ["Outcome: Driver updated on the present device.",
                       "Exit code: 3010 (installed, a restart is needed)"], "the log's end")


if __name__ == "__main__":
    run_case(xp_silent, windows="winxp")
