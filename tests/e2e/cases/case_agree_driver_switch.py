#!/usr/bin/env python3
"""`w2kmedia try` and `w2kmedia plan` agree on "/DRIVER" on Windows 2000 with
a media whose only driver folder is "WIN_ME\\", "No" on the restart prompt.

The try: the notice with no dialog before it, the package of WIN_ME\\drv\\
staged with the DOS drivers, the mixer and the installer placed in the
Windows directory and the Run value written for the run after the restart;
no reboot is asked for. The plan of the same media with the same answers
must agree with it, but for what harness/wine_differences.py explains."""

# ctest-timeout: 240

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402
from wine_machine.installer import (DOS, DRIVER_PACKAGE, MIXER_RUN_COMMAND, MIXER_RUN_VALUE,  # noqa: E402
                                    NOTICE, STAGING)
from try_runs import as_run, expect_plan_and_try_agree, file_sha256, try_media  # noqa: E402


def agree_driver_switch(case):
    media = try_media(case, web_setup=0, driver_folders=["WIN_ME"], package_folder="WIN_ME")
    _, run, comparison = expect_plan_and_try_agree(
        case, media.unix, "--windows", "2000", "--args", "/DRIVER", "--restart", "no")
    # The staged files, the copies in the Windows directory, the CD player's
    # INI, and the Run value for the run after the restart.
    case.expect(comparison.compared["files"] >= 12 and comparison.compared["values"] == 1,
                "too little compared: %s" % comparison.compared)
    report = run.report
    case.expect_equal((report["command_line"], report["route"], report["exit_code"],
                       report["reboot_requested"], report["restart_runs"]),
                      ("/DRIVER", "driver-switch", 0, False, []), "the run")
    case.expect_equal([(e["kind"], e.get("text") or e.get("template"), e.get("answer"))
                       for e in run.events()],
                      [("message", NOTICE, None),
                       ("dialog", 132, "No, I will restart my computer later. (checked), OK")],
                      "windows and answers")

    files = {c["path"]: (c["after"] or {}).get("sha256") for c in run.changes()
             if c["kind"] == "file"}
    package = os.path.join(media.unix, "WIN_ME", "drv")
    # Under Wine the direct update of the present device succeeds, so the
    # staged INF stays (a forced reinstall would move it to the INF folder).
    # Where the x86-64 twin ran in the product's place, its copies (the
    # staged W2KSetup.dat, W2KSetup.exe in C:\windows) are the twin.
    for name in DRIVER_PACKAGE:
        case.expect_equal(files.get(STAGING + name),
                          as_run(run, file_sha256(os.path.join(package, name))),
                          "the staged " + name)
    case.expect_equal(files.get("C:\\windows\\Mixer.dat"),
                      file_sha256(os.path.join(package, "Mixer.dat")), "Mixer.dat in C:\\windows")
    case.expect_equal(files.get("C:\\windows\\W2KSetup.exe"),
                      as_run(run, file_sha256(os.path.join(package, "W2KSetup.dat"))),
                      "W2KSetup.exe in C:\\windows")
    case.expect(any(path.startswith(DOS) for path in files), "no DOS driver was staged")
    values = {(c["key"], c["name"]): c["after"] for c in run.changes() if c["kind"] == "value"}
    case.expect_equal(values.get((RUN_KEY, MIXER_RUN_VALUE)),
                      {"type": "REG_SZ", "data": MIXER_RUN_COMMAND}, "the Run value")


if __name__ == "__main__":
    run_case(agree_driver_switch, windows="win2k")
