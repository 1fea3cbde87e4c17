#!/usr/bin/env python3
"""The run after the restart, "W2KSetup.exe -ReplaceMixer", when the Windows
directory holds no "Mixer.dat": the Run value goes and the running mixer is
closed, but nothing else happens. No window of the installer appears (it used
to show "Can not find installation files." at every logon), nothing is
started, and none of the usual start-up adjustments follow."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402
from wine_machine.installer import MIXER_RUN_VALUE, WINDOWS  # noqa: E402

AUDIO_KEY = "HKCU\\Software\\Microsoft\\Multimedia\\Audio"


def replace_mixer_without_mixer_dat(case):
    case.put_file(WINDOWS + "W2KSetup.exe", source=case.installer)
    case.put_file(WINDOWS + "Mixer.exe", source=case.helper("window_holder"))
    run_entry = WINDOWS + "W2KSetup.exe -ReplaceMixer"
    case.reg_set(RUN_KEY, MIXER_RUN_VALUE, run_entry)
    case.reg_set(RUN_KEY, "PCI Audio Applications", "C:\\Program Files\\Quarnel\\TS.exe")
    case.reg_set(AUDIO_KEY, "SystemFormats", "CD Quality,Radio Quality,")
    old_mixer = case.read_file(WINDOWS + "Mixer.exe")
    before = case.snapshot()

    case.hold_window("Mixer", program=WINDOWS + "Mixer.exe")
    watcher = case.start_user("watch W2KSetup.exe 30000")
    case.wait_for_record("watch-begin")
    case.expect_equal(case.run_command_line(run_entry, cwd=WINDOWS, timeout=30), 0,
                      "exit code of the installer")
    watcher.expect_exit(0, timeout=10)

    case.expect_equal([r["title"] for r in case.records("window-seen")], [],
                      "windows the installer showed")
    case.expect_equal([r.program_name for r in case.records("start")], [],
                      "programs started")
    case.expect_equal(len(case.records("close", title="Mixer")), 1,
                      "WM_CLOSE messages the running mixer got")
    case.expect(case.read_file(WINDOWS + "Mixer.exe") == old_mixer, "Mixer.exe changed")
    case.expect(case.reg_value(RUN_KEY, MIXER_RUN_VALUE) is None,
                "the Run value \"%s\" is still there" % MIXER_RUN_VALUE)
    case.expect(case.reg_value(RUN_KEY, "PCI Audio Applications") is not None,
                "the Run value \"PCI Audio Applications\" was deleted: start-up went on")
    case.expect(case.reg_value(AUDIO_KEY, "DefaultFormat") is None,
                "DefaultFormat was written: start-up went on")
    others = [c for c in case.changes(before)
              if not c.lower().startswith("value removed: " + RUN_KEY.lower())]
    case.expect(not others, "the run changed more than the Run value:\n" + "\n".join(others))


if __name__ == "__main__":
    run_case(replace_mixer_without_mixer_dat, windows="winxp")
