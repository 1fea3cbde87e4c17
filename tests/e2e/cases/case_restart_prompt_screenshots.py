#!/usr/bin/env python3
"""The restart prompt (132) in its English and Traditional Chinese copies, on
screen under Wine at the end of a silent web set-up's driver installation,
with a screenshot of each. The locale picks the copy; a scripted user, run
in that locale, checks the copy's texts in the language's code page. The
Chinese copy runs with fonts for Chinese (see harness/fonts.py), the English
one without them. The pictures are kept in
build/e2e-artifacts/restart_prompt_screenshots/."""

# ctest-timeout: 300

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from wine_machine.installer import FIXED_WAITS_MS, PROMPT_WAIT_MS  # noqa: E402
from wine_machine.fonts import give_restart_prompt_chinese_fonts  # noqa: E402
from dialog_copies import (RESTART_PROMPT_COPIES, expect_screenshots,  # noqa: E402
                           restart_prompt_script)


def restart_prompt_screenshots(case):
    media = case.make_media(web_setup=2, driver_beside_installer=True)
    for name, locale, code_page, texts in RESTART_PROMPT_COPIES:
        if name == "zh-tw":
            give_restart_prompt_chinese_fonts(case)
        language = {"LANG": locale, "LC_ALL": locale}
        installer = case.start_installer(media, env=language)
        case.user(restart_prompt_script(name, texts), env=language, encoding=code_page,
                  timeout=(FIXED_WAITS_MS + PROMPT_WAIT_MS) // 1000)
        installer.expect_exit(0, timeout=20)
    expect_screenshots(case, ["restart-" + copy[0] for copy in RESTART_PROMPT_COPIES])


if __name__ == "__main__":
    run_case(restart_prompt_screenshots, windows="winxp")
