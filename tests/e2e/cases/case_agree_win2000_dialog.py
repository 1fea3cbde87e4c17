#!/usr/bin/env python3
"""`w2kmedia try` and `w2kmedia plan` agree on the Windows 2000/XP dialog: a
web set-up media (WebSetup=1, InstallWDMDriver=1, the driver package beside
the installer) on Windows XP with the device. In the dialog the jack boxes
line-in/rear (checked already: the dialog keeps it checked) and
microphone/subwoofer are clicked, then the sound-card choice, then "Disable
legacy device"; "No" on the restart prompt.

The answers, the staged files and the INF patched with the options, which
the forced reinstall moves into the INF folder, must be the same on both
sides, but for what harness/wine_differences.py explains."""

# ctest-timeout: 240

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from try_runs import expect_plan_and_try_agree, sha256, try_media  # noqa: E402

FLAGS = ("--jack", "rear", "--jack", "micsub", "--board", "soundcard", "--legacy",
         "--restart", "no")
ANSWER = ("Line-in and rear speaker output share the same jack. (checked), "
          "Microphone and Subwoofer share the same jack. (checked), "
          "5740 in sound card (rear speakers jack individually) (checked), "
          "Disable legacy device (MIDI/GAME port) (checked), Install")


def patched(inf, patches):
    """The INF's bytes with the plan's patches (one byte each) applied."""
    data = bytearray(inf)
    for patch in patches:
        data[int(patch["offset"])] = ord(patch["byte"])
    return bytes(data)


def agree_win2000_dialog(case):
    media = try_media(case, web_setup=1, install_wdm_driver=1, driver_beside_installer=True)
    plan, run, comparison = expect_plan_and_try_agree(case, media.unix, *FLAGS)
    case.expect_equal((run.report["route"], plan["route"]), ("win2000-dialog", "win2000-dialog"),
                      "the routes")
    case.expect_equal([e["answer"] for e in run.events(("dialog",))],
                      [ANSWER, "No, I will restart my computer later. (checked), OK"],
                      "the try's answers")

    # Both option lines patched; the INF that reached Wine's INF folder is
    # the media's with the plan's patches.
    patches = [e for e in plan["events"] if e["kind"] == "patch"]
    case.expect_equal(len(patches), 2, "the plan's patches of the staged INF")
    with open(os.path.join(media.unix, "QNAUDIO.INF"), "rb") as f:
        inf = f.read()
    in_inf_folder = [c["after"]["sha256"] for c in run.changes("The INF folder")
                     if c["path"].lower().endswith(".inf") and c["after"]]
    case.expect_equal(in_inf_folder, [sha256(patched(inf, patches))],
                      "the INF in the INF folder under Wine")
    case.expect(sha256(patched(inf, patches)) != sha256(inf), "the options patched nothing")
    case.expect(comparison.compared["windows"] == 3 and comparison.compared["files"] >= 8,
                "too little compared: %s" % comparison.compared)


if __name__ == "__main__":
    run_case(agree_win2000_dialog, windows="winxp")
