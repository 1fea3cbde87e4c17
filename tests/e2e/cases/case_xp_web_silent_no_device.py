#!/usr/bin/env python3
"""Windows XP, setup.ini with WebSetup=2, no device present: the unattended
driver installation stages the installer's own folder (the web set-up puts
the driver package beside the installer), deletes the INF database files,
registers the staged QNAUDIO.INF as an OEM INF (which takes it out of the
staging folder), and shows the restart prompt after the full completion
wait. The source-list functions are stubs under Wine that would end the
process; the installer must live through them and end normally."""

# ctest-timeout: 240

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402
from wine_machine.installer import (DRIVER_PACKAGE, INF_FOLDER, MIXER_RUN_VALUE, NOTICE,  # noqa: E402
                                    PROMPT_WAIT_MS, QUARNEL, RESTART_PROMPT, STAGING, WINDOWS)
from harness.installer import expect_prompt_after_fixed_waits, inf_names, new_oem_inf, quoted  # noqa: E402


def xp_web_silent_no_device(case):
    media = case.make_media(web_setup=2, driver_beside_installer=True)
    case.put_file(INF_FOLDER + "Drvdata.bin", b"driver database")
    case.put_file(INF_FOLDER + "Drvidx.bin", b"driver index")
    settings = b"[RUNTIME]\r\nInitialize=1\r\n"
    case.put_file(WINDOWS + "mixerdef.ini", settings)
    infs_before = inf_names(case)

    installer = case.start_installer(media)
    prompt = "window %s %d" % (quoted(RESTART_PROMPT), PROMPT_WAIT_MS)
    case.user('''
        msgbox %s 30000
        ok
        gone 5000
        %s
        snapshot restart-prompt
        click 1001
        sleep 300
        ok
        gone 5000
    ''' % (quoted(NOTICE), prompt), timeout=150)
    installer.expect_exit(0, timeout=20)
    expect_prompt_after_fixed_waits(case, installer, case.step_tick("ok"), case.step_tick(prompt))

    # The OEM copy has the staged INF's bytes, and the staged one is gone.
    oem = new_oem_inf(case, infs_before)
    if oem:
        case.expect(case.read_file(oem) == case.read_file(media.path("QNAUDIO.INF")),
                    "%s is not a copy of the staged QNAUDIO.INF" % oem)
    case.expect(not case.exists(STAGING + "QNAUDIO.INF"), "the staged QNAUDIO.INF is still there")
    for name in [n for n in DRIVER_PACKAGE if n != "QNAUDIO.INF"] + ["W2KSetup.exe", "setup.ini"]:
        case.expect(case.read_file(STAGING + name) == case.read_file(media.path(name)),
                    "%s of the installer's folder is not staged" % name)
    case.expect(not case.exists(INF_FOLDER + "Drvdata.bin"), "Drvdata.bin is still there")
    case.expect(not case.exists(INF_FOLDER + "Drvidx.bin"), "Drvidx.bin is still there")

    # The silent web set-up stages no DOS files and leaves the mixer's settings alone,
    # but places the mixer and registers its replacement.
    case.expect(not case.exists(QUARNEL + "DOS"), "DOS files were staged")
    case.expect(case.read_file(WINDOWS + "mixerdef.ini") == settings, "mixerdef.ini changed")
    case.expect(case.read_file(WINDOWS + "Mixer.dat") == case.read_file(media.path("Mixer.dat")),
                "Mixer.dat in the Windows directory is not the one beside the installer")
    run_value = case.reg_value(RUN_KEY, MIXER_RUN_VALUE)
    case.expect_equal(run_value and run_value.data, "C:\\windows\\W2KSetup.exe -ReplaceMixer",
                      "the Run value \"%s\"" % MIXER_RUN_VALUE)


if __name__ == "__main__":
    run_case(xp_web_silent_no_device, windows="winxp")
