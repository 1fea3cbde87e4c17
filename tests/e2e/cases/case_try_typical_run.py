#!/usr/bin/env python3
"""`tools/w2kmedia try` on the sample media with today's answers, as the main
job runs it, in Traditional Chinese: Windows XP with the device and an
earlier driver whose mixer runs; "Install Applications" cleared and OK, the
notice, "Yes" on the restart prompt. Wine's session restart starts the
installer from the Run key, and try follows it into the -ReplaceMixer run.

The report must give both runs with their routes, the Chinese captions as
the windows showed them, the new mixer started from the Windows directory
and hidden, the earlier driver's INF gone and the WinXP package's INF in
the INF folder, the mixer replaced, and the device with its driver key. The
page then opens in headless Chromium."""

# ctest-timeout: 300

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from wine_machine.installer import NOTICE  # noqa: E402
from try_runs import (expect_page_shows, expect_screenshots_cropped,  # noqa: E402
                      file_sha256, tried, try_media)

MAIN_CAPTION = "安裝 PCI 音效設備驅動程式與應用程式"
PROMPT_CAPTION = "重新啟動"
# The answers as `plan` words them, with the Chinese copy's captions.
MAIN_ANSWER = "安裝應用程式 (cleared), 確認"
PROMPT_ANSWER = "確認"


def try_typical_run(case):
    media = try_media(case, web_setup=0)
    run = tried(case, media.unix, "--apps", "no", "--earlier-driver", "--lang", "zh_TW")
    report = run.report
    case.expect_equal((report["route"], report["exit_code"], report["reboot_requested"],
                       report["language"]), ("main-dialog", 0, True, "zh_TW.UTF-8"), "the run")

    shown = [(e["kind"], e.get("template"), e.get("title") or e.get("caption"), e.get("answer"))
             for e in run.events()]
    case.expect_equal(shown, [("dialog", 102, MAIN_CAPTION, MAIN_ANSWER),
                              ("message", None, "Setup", None),
                              ("dialog", 132, PROMPT_CAPTION, PROMPT_ANSWER),
                              ("reboot", None, None, None)], "windows, answers and the reboot")
    if len(shown) == 4:
        dialog, notice, prompt, _ = run.events()
        case.expect_equal(dialog["controls"], {"1001": "unchecked", "1002": "checked"},
                          "the main options dialog as answered")
        case.expect_equal(notice["text"], NOTICE, "the notice")
        case.expect_equal(prompt["controls"], {"1000": "checked", "1001": "unchecked"},
                          "the restart prompt as answered")

    restarts = report["restart_runs"]
    case.expect_equal([(r["command_line"], r["route"], r["exit_code"]) for r in restarts],
                      [("-ReplaceMixer", "replace-mixer", 0)], "the runs after the restart")
    if restarts:
        case.expect_equal([{k: v for k, v in e.items() if k != "t_ms"}
                           for e in restarts[0]["events"]],
                          [{"kind": "start", "command_line": "C:\\windows\\Mixer.exe /startup",
                            "current_dir": "C:\\windows", "show": "SW_HIDE"}],
                          "what the run after the restart started")

    package = os.path.join(media.unix, "WinXP", "drv")
    inf_folder = {c["path"]: c for c in run.changes("The INF folder")}
    case.expect_equal(sorted((p, c["change"]) for p, c in inf_folder.items()),
                      [("C:\\windows\\inf\\QNAUDIO.INF", "added"),
                       ("C:\\windows\\inf\\QNAUDIO.pnf", "added"),
                       ("C:\\windows\\inf\\oem7.PNF", "removed"),
                       ("C:\\windows\\inf\\oem7.inf", "removed")], "the INF folder")
    added = inf_folder.get("C:\\windows\\inf\\QNAUDIO.INF")
    case.expect(added and added["after"]["sha256"] == file_sha256(os.path.join(package, "QNAUDIO.INF")),
                "the INF in the INF folder is not the WinXP package's")
    mixer = {c["path"]: c for c in run.changes("Files in C:\\windows\\")}.get("C:\\windows\\Mixer.exe")
    case.expect(mixer and mixer["change"] == "changed"
                and mixer["after"]["sha256"] == file_sha256(os.path.join(package, "Mixer.dat")),
                "Mixer.exe was not replaced by the package's Mixer.dat: %s" % mixer)
    case.expect(all(d["driver"] for d in report["devices"]["after"])
                and len(report["devices"]["after"]) == 1,
                "the device after the run: %s" % report["devices"]["after"])

    expect_screenshots_cropped(case, run)
    expect_page_shows(case, run, "report-page-typical-run-zh-tw.png")


if __name__ == "__main__":
    run_case(try_typical_run, windows="winxp")
