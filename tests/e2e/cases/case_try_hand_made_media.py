#!/usr/bin/env python3
"""`tools/w2kmedia try` on a media laid out by hand, as a person who builds a
web set-up would: one folder (with a blank in its name) holding the built
installer as W2KSETUP.EXE, a SETUP.INI written by hand that asks for the
Windows 2000/XP dialog, and the driver package beside them. On Windows 2000
with the device, the dialog is answered with the jack boxes
microphone/subwoofer and then line-in/centre and the legacy device
disabled, the restart prompt with "No".

The report must give the route, the windows with their answers, the INF
that reached the INF folder with both option digits patched, every other
file of the folder staged byte for byte, no change to the media, the
completion wait against its fixed waits, and the progress must have shown
the wait going on. The page then opens in headless Chromium."""

# ctest-timeout: 300

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import HARDWARE_ID, run_case  # noqa: E402
from wine_machine.installer import ENABLE_LEGACY_LINE, JACK_CONFIG_LINE, NOTICE  # noqa: E402
from harness.installer import with_value_digit  # noqa: E402
from try_runs import (as_run, expect_page_shows, expect_screenshots_cropped,  # noqa: E402
                      sha256, tried)

SETUP_INI = b"[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=1\r\n"
INF = b"\r\n".join([
    b"; Driver for the 5740 PCI audio device, web set-up",
    b"[Version]", b'Signature="$Windows NT$"', b"Class=MEDIA",
    b"ClassGUID={4d36e96c-e325-11ce-bfc1-08002be10318}", b"Provider=%Mfg%",
    b"DriverVer=03/01/2005,5.12.9.5740", b"",
    b"[Manufacturer]", b"%Mfg%=Models", b"",
    b"[Models]", b"%Desc%=Audio, " + HARDWARE_ID.encode("ascii"), b"",
    b"[Audio]", b"AddReg=Audio.AddReg", b"",
    b"[Audio.AddReg]", ENABLE_LEGACY_LINE, JACK_CONFIG_LINE, b"",
    b"[Strings]", b'Mfg="Quarnel"', b'Desc="5740 PCI Audio Device"', b""])
# The answers as `plan` words them: the clicks in their order, each box with
# the state the dialog left it in, then the button.
WIN2000_ANSWER = ("Microphone and Subwoofer share the same jack. (checked), "
                  "Line-in and Center/Subwoofer share the same jack. (checked), "
                  "Disable legacy device (MIDI/GAME port) (checked), Install")
PROMPT_ANSWER = "No, I will restart my computer later. (checked), OK"
OTHER_FILES = {"qnaudio.sys": b"MZ driver of the 5740\r\n", "Readme.txt": b"Read me first.\r\n"}


def lay_out_media(case):
    folder = os.path.join(case.work, "Web Setup 5740")
    os.makedirs(folder)
    with open(case.product, "rb") as f:
        installer = f.read()
    for name, data in dict(OTHER_FILES, **{"W2KSETUP.EXE": installer, "SETUP.INI": SETUP_INI,
                                           "QNAUDIO.INF": INF}).items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return folder, installer


def try_hand_made_media(case):
    media, installer = lay_out_media(case)
    run = tried(case, media, "--windows", "2000", "--jack", "micsub", "--jack", "centre",
                  "--legacy", "--restart", "no")
    report = run.report
    case.expect_equal((report["windows"], report["installer"], report["route"],
                       report["exit_code"], report["reboot_requested"]),
                      ("2000", "D:\\W2KSETUP.EXE", "win2000-dialog", 0, False), "the run")

    shown = [(e["kind"], e.get("template") or e.get("text"), e.get("answer"))
             for e in run.events()]
    case.expect_equal(shown, [("dialog", 131, WIN2000_ANSWER), ("message", NOTICE, None),
                              ("dialog", 132, PROMPT_ANSWER)], "windows and answers")
    if len(shown) == 3:
        dialog, _, prompt = run.events()
        case.expect_equal(dialog["controls"], {
            "1006": "checked", "1007": "unchecked", "1011": "unchecked", "1012": "checked",
            "1013": "unchecked", "1000": "checked"}, "the Windows 2000/XP dialog as answered")
        case.expect_equal(prompt["controls"], {"1000": "unchecked", "1001": "checked"},
                          "the restart prompt as answered")

    # Line-in/centre gives JackConfig 2; the legacy box gives EnableLegacy 2.
    patched = with_value_digit(with_value_digit(INF, JACK_CONFIG_LINE, "2"),
                               ENABLE_LEGACY_LINE, "2")
    inf_folder = {c["path"]: c["after"] for c in run.changes("The INF folder")}
    case.expect_equal((inf_folder.get("C:\\windows\\inf\\QNAUDIO.INF") or {}).get("sha256"),
                      sha256(patched), "the INF in the INF folder (patched: %s)" % sorted(inf_folder))
    staged = {c["path"]: c["after"]["sha256"] for c in run.changes()
              if c["kind"] == "file" and c["path"].startswith("C:\\Program Files\\Quarnel\\")}
    # Where the x86-64 twin ran in the product's place, the installer staged
    # its own bytes: the twin's.
    expected = {"C:\\Program Files\\Quarnel\\WIN_ME\\" + name: as_run(run, sha256(data))
                for name, data in dict(OTHER_FILES, **{"W2KSETUP.EXE": installer,
                                                       "SETUP.INI": SETUP_INI}).items()}
    case.expect_equal(staged, expected, "the files staged (the INF went to the INF folder)")
    case.expect_equal(run.changes("The media (D:)"), [], "changes to the media")
    case.expect_equal([d["hwids"][-1] for d in report["devices"]["before"]], [HARDWARE_ID],
                      "the device before the run")

    waits = {w["what"]: w for w in report["timings"]["waits"]}
    completion = waits.get("the driver notice answered to the restart prompt")
    if case.expect(completion, "no timing of the completion wait: %s" % sorted(waits)):
        case.expect_equal(completion["fixed_ms"], 35500, "fixed waits of the completion wait")
        case.expect(0 <= completion["overhead_ms"] < 15000,
                    "the prompt came %d ms after the notice" % completion["observed_ms"])
    lines = run.stdout.splitlines()
    waiting = [line for line in lines if "still running" in line and "s so far" in line]
    case.expect(len(waiting) >= 2, "the progress showed no wait going on:\n" + run.stdout)
    case.expect(lines and lines[-1].startswith("[") and lines[-1].endswith("report.html"),
                "the last line does not name the page:\n" + run.stdout)

    expect_screenshots_cropped(case, run)
    expect_page_shows(case, run, "report-page-hand-made-media.png")


if __name__ == "__main__":
    run_case(try_hand_made_media, windows="win2k")
