#!/usr/bin/env python3
"""The run after the restart: "W2KSetup.exe -ReplaceMixer" from the Windows
directory, as the Run key starts it. The running mixer gets WM_CLOSE,
Mixer.exe becomes a copy of Mixer.dat, the new mixer starts with "/startup"
and a hidden window, the Run value goes, and the installer ends there
(none of the usual start-up adjustments follow)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402

WINDOWS = "C:\\windows\\"
AUDIO_KEY = "HKCU\\Software\\Microsoft\\Multimedia\\Audio"


def replace_mixer(case):
    # The Windows directory as a driver installation leaves it.
    case.put_file(WINDOWS + "W2KSetup.exe", source=case.installer)
    with open(case.helper("recorder"), "rb") as recorder:
        new_mixer = recorder.read() + b"\0E2E new mixer\0"
    case.put_file(WINDOWS + "Mixer.dat", new_mixer)
    case.put_file(WINDOWS + "Mixer.exe", source=case.helper("window_holder"))
    run_entry = WINDOWS + "W2KSetup.exe -ReplaceMixer"
    case.reg_set(RUN_KEY, "Replace Quarnel Mixer", run_entry)
    # Left alone when the replacement has run: the installer ends right after it.
    case.reg_set(RUN_KEY, "PCI Audio Applications", "C:\\Program Files\\Quarnel\\TS.exe")
    case.reg_set(AUDIO_KEY, "SystemFormats", "CD Quality,Radio Quality,")
    before = case.snapshot()

    # The old mixer is running: Mixer.exe itself holds the window "Mixer".
    case.hold_window("Mixer", program=WINDOWS + "Mixer.exe")
    # Started the way the logon starts a Run entry: its text as the command line.
    case.expect_equal(case.run_command_line(run_entry, cwd=WINDOWS, timeout=30), 0,
                      "exit code of the installer")

    closes = case.records("close", title="Mixer")
    case.expect_equal([(c["wparam"], c["lparam"]) for c in closes], [("0", "0")],
                      "WM_CLOSE messages (wParam, lParam) the mixer window got")
    started = case.wait_for_record("start", program="Mixer.exe")
    case.expect_equal(started["cmdline"], WINDOWS + "Mixer.exe /startup",
                      "command line of the new mixer")
    case.expect_equal((started["startup_flags"], started["show_window"]), ("1", "0"),
                      "STARTUPINFO flags and show command of the new mixer (SW_HIDE)")
    case.expect_equal([r.program_name for r in case.records("start")], ["Mixer.exe"],
                      "programs started")
    if closes:
        pause = int(started["tick"]) - int(closes[0]["tick"])
        # One pause of 1000 ms after WM_CLOSE, none before it; the ticks of
        # two processes may differ by a few ms from what Sleep waited.
        case.expect(980 <= pause < 2500, "the new mixer started %d ms after WM_CLOSE; "
                    "expected the one pause of 1000 ms" % pause)

    case.expect(case.read_file(WINDOWS + "Mixer.exe") == new_mixer,
                "Mixer.exe is not a byte copy of Mixer.dat")
    case.expect(case.read_file(WINDOWS + "Mixer.dat") == new_mixer,
                "Mixer.dat is gone or changed")
    case.expect(case.reg_value(RUN_KEY, "Replace Quarnel Mixer") is None,
                "the Run value \"Replace Quarnel Mixer\" is still there")
    case.expect(case.reg_value(RUN_KEY, "PCI Audio Applications") is not None,
                "the Run value \"PCI Audio Applications\" was deleted: start-up went on")
    case.expect(case.reg_value(AUDIO_KEY, "DefaultFormat") is None,
                "DefaultFormat was written: start-up went on")

    expected = ("file changed: c:\\windows\\mixer.exe",
                "value removed: hklm\\software\\microsoft\\windows\\currentversion\\run "
                "[replace quarnel mixer]")
    others = [c for c in case.changes(before) if not c.lower().startswith(expected)]
    case.expect(not others, "the run changed more than the mixer:\n" + "\n".join(others))


if __name__ == "__main__":
    run_case(replace_mixer, windows="winxp")
