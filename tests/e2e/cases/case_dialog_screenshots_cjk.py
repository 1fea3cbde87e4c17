#!/usr/bin/env python3
"""The main options dialog (102) in its Traditional Chinese, Japanese and
Korean copies, on screen under Wine, as it opens and while it works, with a
screenshot of each. The locale picks the copy; a scripted user, itself run
in that locale, checks the copy's texts in the language's own code page.
The pictures are kept in build/e2e-artifacts/dialog_screenshots_cjk/."""
# ctest-timeout: 300

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from wine_machine.fonts import link_cjk_fonts  # noqa: E402
from dialog_copies import (MAIN_DIALOG_COPIES, expect_screenshots,  # noqa: E402
                           prepare_uninstaller, run_copies)

CJK_COPIES = [copy for copy in MAIN_DIALOG_COPIES if copy[0] in ("zh-tw", "ja", "ko")]


def dialog_screenshots_cjk(case):
    link_cjk_fonts(case)
    prepare_uninstaller(case)
    media = case.make_media(web_setup=0)
    run_copies(case, media, CJK_COPIES)
    expect_screenshots(case, ["main-" + copy[0] for copy in CJK_COPIES]
                       + ["wait-" + copy[0] for copy in CJK_COPIES])


if __name__ == "__main__":
    run_case(dialog_screenshots_cjk, windows="winxp")
