#!/usr/bin/env python3
"""Windows XP, the device present, command line "/DRIVER" on the sample
media: the notice is answered; an earlier driver's INF and its PNF leave the
INF folder; the DOS files and the WinXP driver package are staged; Mixer.dat
and W2KSetup.exe land in the Windows directory and the Run key brings the
installer back with -ReplaceMixer; the device is updated from the staged INF
(its driver key gets the INF's Settings values); after the completion wait
the restart prompt comes, "Yes" preset, and "No" ends the program."""

# ctest-timeout: 240

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import HARDWARE_ID, run_case  # noqa: E402
from wine_machine.installer import (INF_FOLDER, LEGACY_INF, NOTICE, PROMPT_WAIT_MS,  # noqa: E402
                                    REBOOT_CALL, RESTART_PROMPT, WINDOWS)
from harness.installer import (expect_device_updated, expect_driver_package_staged,  # noqa: E402
                               expect_mixer_replacement_registered,
                               expect_prompt_after_fixed_waits, quoted)

OTHER_INF = (b"[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Strings]\r\n"
             b"SSC-Legacy.DeviceDesc=\"qni5740 lookalike\"\r\n")


def xp_driver_switch(case):
    traced = case.trace_calls(REBOOT_CALL)
    media = case.make_media()
    case.put_file(INF_FOLDER + "oem7.inf", LEGACY_INF)
    case.put_file(INF_FOLDER + "oem7.PNF", b"precompiled")
    case.put_file(INF_FOLDER + "oem8.inf", OTHER_INF)
    case.put_file(WINDOWS + "mixerdef.ini", b"[RUNTIME]\r\nInitialize=1\r\nMaster=80\r\n")
    instance = case.add_device(HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID)

    installer = case.start_installer(media, ["/DRIVER"], env=traced)
    prompt = "window %s %d" % (quoted(RESTART_PROMPT), PROMPT_WAIT_MS)
    case.user('''
        msgbox %s 30000
        ok
        gone 5000
        %s
        snapshot restart-prompt
        expect 1000 checked
        expect 1001 unchecked
        expect-text 1000 "Yes, I want to restart my computer now."
        click 1001
        sleep 300
        expect 1001 checked
        expect 1000 unchecked
        ok
        gone 5000
    ''' % (quoted(NOTICE), prompt), timeout=150)
    installer.expect_exit(0, timeout=20)
    expect_prompt_after_fixed_waits(case, installer, case.step_tick("ok"), case.step_tick(prompt))
    case.expect_equal(case.traced_calls(REBOOT_CALL), [], "calls of ExitWindowsEx after \"No\"")

    case.expect(not case.exists(INF_FOLDER + "oem7.inf"), "the legacy INF is still there")
    case.expect(not case.exists(INF_FOLDER + "oem7.PNF"), "the legacy PNF is still there")
    case.expect(case.exists(INF_FOLDER + "oem8.inf"), "a lookalike INF (lower case) went")
    expect_driver_package_staged(case, media, "WinXP\\drv\\")
    expect_mixer_replacement_registered(case)
    case.expect_equal(case.read_ini(WINDOWS + "mixerdef.ini"),
                      {"runtime": {"initialize": "0", "master": "80"}}, "mixerdef.ini")
    # Updated directly: the device is still the one made above, with the INF's values.
    expect_device_updated(case, instance)


if __name__ == "__main__":
    run_case(xp_driver_switch, windows="winxp")
