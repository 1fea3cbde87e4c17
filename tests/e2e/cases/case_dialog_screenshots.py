#!/usr/bin/env python3
"""The installer's dialogs in the languages of Latin script, on screen under
Wine, with a screenshot of each: the main options dialog (102) as it opens
and while it works ("Please wait ....." instead of the boxes) in English and
French, the about box (100) from the main dialog's system menu, and the
Windows 2000/XP options dialog (131) with the motherboard and with the sound
card chosen. A scripted user checks that the right copy came up with its
texts and states. The pictures are kept in build/e2e-artifacts/dialog_screenshots/;
the Chinese, Japanese and Korean copies are case_dialog_screenshots_cjk.py.

The restart prompt (132) comes at the end of a driver installation and is
not shown by this case."""
# ctest-timeout: 300

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from dialog_copies import (MAIN_DIALOG_COPIES, expect_screenshots,  # noqa: E402
                           prepare_uninstaller, run_copies)

LATIN_COPIES = [copy for copy in MAIN_DIALOG_COPIES if copy[0] in ("en", "fr")]


def dialog_screenshots(case):
    prepare_uninstaller(case)
    media = case.make_media(web_setup=0)
    run_copies(case, media, LATIN_COPIES, about_box_in="en")

    # The Windows 2000/XP options dialog, English only: a French locale
    # still gets the English copy.
    web = case.make_media(folder="web-media", web_setup=1, install_wdm_driver=1)
    french = {"LANG": "fr_FR.UTF-8", "LC_ALL": "fr_FR.UTF-8"}
    installer = case.start_installer(web, env=french)
    case.user('''
        window "PCI Audio Device Driver Setup Program for Windows 2000" 20000
        expect 1006 checked
        expect 1007 unchecked
        expect 1011 checked enabled
        expect 1012 unchecked enabled
        expect 1013 unchecked enabled
        expect 1000 unchecked
        expect-text 1 "Install"
        expect-text 2 "Cancel"
        snapshot win2000-motherboard
        click 1007
        sleep 300
        expect 1006 unchecked
        expect 1007 checked
        expect 1011 checked disabled
        expect 1012 disabled
        expect 1013 disabled
        click 1000
        sleep 300
        expect 1000 checked
        snapshot win2000-sound-card
        close
        gone 5000
    ''', env=french)
    installer.expect_exit(0, timeout=20)

    expect_screenshots(case, ["main-en", "wait-en", "about", "main-fr", "wait-fr",
                              "win2000-motherboard", "win2000-sound-card"])


if __name__ == "__main__":
    run_case(dialog_screenshots, windows="winxp")
