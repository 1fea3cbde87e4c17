#!/usr/bin/env python3
"""The main job: the installer on a generated sample media, in a fresh Wine
prefix playing Windows XP, and a short report of what it changed.

Run it through ./run_main.sh, which builds everything first. Options are the
end-to-end harness's (--visible shows the windows on $DISPLAY, --keep keeps the
prefix, --lang zh_TW.UTF-8 runs in another language)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import run_case  # noqa: E402

AUDIO_KEY = "HKCU\\Software\\Microsoft\\Multimedia\\Audio"


def main_job(case):
    media = case.make_media(web_setup=1, install_wdm_driver=0, using_cdda=1)
    case.reg_set(AUDIO_KEY, "SystemFormats", "CD Quality,Radio Quality,Telephone Quality")
    before = case.snapshot()
    case.log("media: " + media.windows)
    case.run_installer(media, timeout=60).expect_exit(0)
    print("What the installer changed:")
    for change in case.changes(before):
        print("  " + change)


if __name__ == "__main__":
    run_case(main_job, windows="winxp", name="main_job")
