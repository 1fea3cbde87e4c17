#!/usr/bin/env python3
"""`w2kmedia plan` and `w2kmedia try` agree on the typical run: the sample
media on Windows XP with the device, "Install Applications" cleared and OK
in the main options dialog, the notice, "Yes" kept on the restart prompt.
Both follow the restart into the run from the Run key, which finds no mixer
window and looks for one for its 100 s before it swaps in the new mixer.

The windows with their answers, the new mixer started after the restart,
every file staged on drive C: by its bytes and the registry values must be
the same, but for what harness/wine_differences.py explains."""

# ctest-timeout: 420

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from try_runs import expect_plan_and_try_agree, try_media  # noqa: E402

MAIN_ANSWER = "Install Applications (cleared), OK"


def agree_typical_run(case):
    media = try_media(case, web_setup=0)
    plan, run, comparison = expect_plan_and_try_agree(case, media.unix, "--apps", "no")
    case.expect_equal([(r["route"], r["command_line"]) for r in [run.report]
                       + run.report["restart_runs"]],
                      [("main-dialog", ""), ("replace-mixer", "-ReplaceMixer")],
                      "the runs of the try")
    case.expect_equal([e.get("answer") for e in plan["events"] if e["kind"] == "dialog"],
                      [MAIN_ANSWER, "OK"], "the plan's answers")
    # Not a comparison of nothing: the DOS drivers, the driver package, the
    # mixer and the installer in the Windows directory, the CD player's INI.
    case.expect(comparison.compared["windows"] == 3 and comparison.compared["programs"] == 1
                and comparison.compared["files"] >= 13,
                "too little compared: %s" % comparison.compared)


if __name__ == "__main__":
    run_case(agree_typical_run, windows="winxp")
