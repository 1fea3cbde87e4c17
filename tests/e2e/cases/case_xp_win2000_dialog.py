#!/usr/bin/env python3
"""Windows XP, setup.ini with "WebSetup" = 1 and "InstallWDMDriver" = 1, the
driver package beside the installer: the Windows 2000/XP options dialog
comes up; the user chooses the sound card and presses Install, then answers
the notice. The installer's folder is staged and its QNAUDIO.INF patched
before the forced reinstall registers it: the INF that reaches the INF
folder carries "JackConfig" 0 and the INF's own "EnableLegacy" value, and
differs from the media's in that one byte. The mixer is staged but not
placed, and no Run value is written."""

# ctest-timeout: 240

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402
from wine_machine.installer import (ENABLE_LEGACY_LINE, JACK_CONFIG_LINE, MIXER_RUN_VALUE,  # noqa: E402
                                    NOTICE, PROMPT_WAIT_MS, RESTART_PROMPT, STAGING,
                                    VALUE_DIGIT_OFFSET, WIN2000_DIALOG, WINDOWS)
from harness.installer import (expect_prompt_after_fixed_waits, inf_names, new_oem_inf, quoted,  # noqa: E402
                               with_value_digit)


def value_digits(inf):
    """The value digits of the EnableLegacy and JackConfig lines, for messages."""
    digits = []
    for line in (ENABLE_LEGACY_LINE, JACK_CONFIG_LINE):
        at = inf.find(line[:30])
        digits.append(inf[at + VALUE_DIGIT_OFFSET:at + VALUE_DIGIT_OFFSET + 1] if at >= 0 else None)
    return "EnableLegacy %r, JackConfig %r" % tuple(digits)


def xp_win2000_dialog(case):
    media = case.make_media(web_setup=1, install_wdm_driver=1, driver_beside_installer=True)
    infs_before = inf_names(case)

    installer = case.start_installer(media)
    prompt = "window %s %d" % (quoted(RESTART_PROMPT), PROMPT_WAIT_MS)
    case.user('''
        window %s 20000
        expect 1006 checked
        expect 1007 unchecked
        click 1007
        sleep 300
        expect 1007 checked
        expect 1006 unchecked
        expect 1011 checked disabled
        ok
        msgbox %s 10000
        ok
        gone 5000
        %s
        click 1001
        sleep 300
        ok
        gone 5000
    ''' % (quoted(WIN2000_DIALOG), quoted(NOTICE), prompt), timeout=150)
    installer.expect_exit(0, timeout=20)
    expect_prompt_after_fixed_waits(case, installer, case.step_tick("ok", after="msgbox"),
                                    case.step_tick(prompt))

    # The forced reinstall copies the staged INF into the INF folder and
    # deletes it; whichever copy is left must be the patched one.
    expected = with_value_digit(case.read_file(media.path("QNAUDIO.INF")), JACK_CONFIG_LINE, "0")
    oem = new_oem_inf(case, infs_before)
    for path in ([oem] if oem else []) + [STAGING + "QNAUDIO.INF"]:
        found = case.read_file(path)
        if found is not None:
            case.expect(found == expected, "%s is not the media's INF with JackConfig 0 (%s)"
                        % (path, value_digits(found)))

    case.expect(case.read_file(STAGING + "Mixer.dat") == case.read_file(media.path("Mixer.dat")),
                "Mixer.dat beside the installer is not staged")
    case.expect(not case.exists(WINDOWS + "Mixer.dat"), "Mixer.dat was placed in the Windows directory")
    case.expect(case.reg_value(RUN_KEY, MIXER_RUN_VALUE) is None,
                "the Run value \"%s\" was written" % MIXER_RUN_VALUE)


if __name__ == "__main__":
    run_case(xp_win2000_dialog, windows="winxp")
