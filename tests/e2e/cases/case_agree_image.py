#!/usr/bin/env python3
"""`tools/w2kmedia try` of a disc image, as people who hold one try it: the
sample media written to an ISO image with `tools/w2kmedia image`, then tried
on Windows XP with the device ("Install Applications" cleared, the restart
declined). The image is drive D:, a CD drive with the image's names and every
file read-only; the run must agree with `plan` of the same image, name the
image, and leave the image's tree as it was."""

# ctest-timeout: 300

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from try_runs import W2KMEDIA, expect_plan_and_try_agree, try_media  # noqa: E402


def agree_image(case):
    media = try_media(case, web_setup=0)
    image = os.path.join(case.work, "Sound CD.iso")
    written = subprocess.run([W2KMEDIA, "image", media.unix, image], capture_output=True,
                             text=True, timeout=120)
    if written.returncode != 0:
        case.fail("w2kmedia image ended with %d: %s%s" % (written.returncode, written.stdout,
                                                          written.stderr))
    plan, run, comparison = expect_plan_and_try_agree(case, image, "--apps", "no",
                                                      "--restart", "no")
    report = run.report
    case.expect_equal((report["media"], report["image"], report["route"], report["exit_code"]),
                      (image, True, "main-dialog", 0), "the run of the image")
    case.expect_equal(run.changes("The media (D:)"), [], "changes to the image's tree")
    case.expect(comparison.compared["windows"] == 3 and comparison.compared["files"] >= 12,
                "too little compared: %s" % comparison.compared)


if __name__ == "__main__":
    run_case(agree_image, windows="winxp")
