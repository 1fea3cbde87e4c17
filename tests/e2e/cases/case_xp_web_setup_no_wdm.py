#!/usr/bin/env python3
"""Windows XP, setup.ini with WebSetup=1 and InstallWDMDriver=0, no command
line: the installer makes its preference adjustments (default sound format,
CD player switch, the package's Run value removed) and ends without showing
anything, starting anything or installing anything."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402

AUDIO_KEY = "HKCU\\Software\\Microsoft\\Multimedia\\Audio"
DEFAULT_AUDIO_KEY = "HKU\\.Default\\Software\\Microsoft\\Multimedia\\Audio"


def xp_web_setup_no_wdm(case):
    media = case.make_media(web_setup=1, install_wdm_driver=0, using_cdda=1)
    # The first entry followed by a comma that holds "CD" is the one taken.
    case.reg_set(AUDIO_KEY, "SystemFormats",
                 "Radio Quality,CD Quality,Telephone Quality,My CD Mix")
    case.reg_create_key(DEFAULT_AUDIO_KEY)
    case.reg_set(RUN_KEY, "PCI Audio Applications",
                 "C:\\Program Files\\Quarnel\\TuneStack\\TSLaunch.exe /tray")
    case.reg_set(RUN_KEY, "Other Startup Program", "C:\\windows\\notepad.exe")
    before = case.snapshot()

    watcher = case.start_user("watch W2KSetup.exe 20000")
    case.wait_for_record("watch-begin")
    case.run_installer(media, timeout=20).expect_exit(0)
    watcher.expect_exit(0, timeout=10)

    case.expect_equal(case.records("window-seen"), [], "windows the installer showed")
    case.expect_equal(case.records("start"), [], "programs started")

    for key in (AUDIO_KEY, DEFAULT_AUDIO_KEY):
        value = case.reg_value(key, "DefaultFormat")
        case.expect_equal(value and (value.type, value.data), (1, "CD Quality"),
                          "DefaultFormat (type, data) under " + key)
    case.expect(case.reg_value(RUN_KEY, "PCI Audio Applications") is None,
                "the Run value \"PCI Audio Applications\" is still there")
    case.expect(case.reg_value(RUN_KEY, "Other Startup Program") is not None,
                "the Run value \"Other Startup Program\" went away")
    case.expect_equal(case.read_ini("C:\\windows\\QNCDPLAY.INI"),
                      {"cd player": {"usingcdda": "1"}}, "QNCDPLAY.INI")
    case.expect(not case.exists("C:\\Program Files\\Quarnel"),
                "C:\\Program Files\\Quarnel exists")

    expected = ("value added: hkcu\\software\\microsoft\\multimedia\\audio [defaultformat]",
                "value added: hku\\.default\\software\\microsoft\\multimedia\\audio "
                "[defaultformat]",
                "value removed: hklm\\software\\microsoft\\windows\\currentversion\\run "
                "[pci audio applications]",
                "file added: c:\\windows\\qncdplay.ini")
    others = [c for c in case.changes(before) if not c.lower().startswith(expected)]
    case.expect(not others, "the run changed more than the preferences:\n" + "\n".join(others))


if __name__ == "__main__":
    run_case(xp_web_setup_no_wdm, windows="winxp")
