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
from harness import HARDWARE_ID, RUN_KEY, run_case  # noqa: E402

WINDOWS = "C:\\windows\\"
STAGING = "C:\\Program Files\\Quarnel\\WIN_ME\\"
DOS = "C:\\Program Files\\Quarnel\\DOS\\"
MEDIA_CLASS_KEY = ("HKLM\\System\\CurrentControlSet\\Control\\Class\\"
                   "{4D36E96C-E325-11CE-BFC1-08002BE10318}")
NOTICE = "The driver will be installed now. It need a few minutes to complete."
# mixerGetNumDevs is 0 under Wine: ten polls 3 s apart, then 5 s.
FIXED_WAITS_MS = 35000

LEGACY_INF = (b"[Version]\r\nSignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\n\r\n[Strings]\r\n"
              b"SSC-Legacy.DeviceDesc=\"QNI5740 PCI Audio (Legacy)\"\r\n")
OTHER_INF = (b"[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Strings]\r\n"
             b"SSC-Legacy.DeviceDesc=\"qni5740 lookalike\"\r\n")


def step_tick(case, step):
    found = [r for r in case.records("user-step") if r["step"].strip() == step]
    return int(found[0]["tick"]) if found else None


def xp_driver_switch(case):
    media = case.make_media()
    case.put_file(WINDOWS + "inf\\oem7.inf", LEGACY_INF)
    case.put_file(WINDOWS + "inf\\oem7.PNF", b"precompiled")
    case.put_file(WINDOWS + "inf\\oem8.inf", OTHER_INF)
    case.put_file(WINDOWS + "mixerdef.ini", b"[RUNTIME]\r\nInitialize=1\r\nMaster=80\r\n")
    instance = case.add_device(HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID)

    installer = case.start_installer(media, ["/DRIVER"])
    case.user('''
        msgbox "%s" 30000
        ok
        gone 5000
        window "Restarting Windows" 90000
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
    ''' % NOTICE, timeout=150)
    installer.expect_exit(0, timeout=20)

    # The prompt comes after the whole completion wait, and not much later.
    answered = step_tick(case, "ok")
    prompted = step_tick(case, 'window "Restarting Windows" 90000')
    if answered is not None and prompted is not None:
        waited = prompted - answered
        overhead = waited - FIXED_WAITS_MS
        case.log("notice answered to prompt shown: %d ms, %d ms over the fixed waits; "
                 "installer wall time %.2f s" % (waited, overhead, installer.seconds))
        print("timing: %d ms from the notice to the prompt (fixed waits %d ms, overhead %d ms);"
              " installer wall time %.2f s" % (waited, FIXED_WAITS_MS, overhead, installer.seconds))
        case.expect(0 <= overhead < 15000, "the prompt came %d ms after the notice" % waited)

    case.expect(not case.exists(WINDOWS + "inf\\oem7.inf"), "the legacy INF is still there")
    case.expect(not case.exists(WINDOWS + "inf\\oem7.PNF"), "the legacy PNF is still there")
    case.expect(case.exists(WINDOWS + "inf\\oem8.inf"), "a lookalike INF (lower case) went")

    for name in ("QNSBDRV.COM", "QNINIT.EXE", "QNDOS.TXT"):
        case.expect(case.read_file(DOS + name) == case.read_file(media.path("Dosdrv\\" + name)),
                    "DOS file %s not staged" % name)
    for name in ("QNMIXDOS.EXE", "QNPLAY.EXE"):
        case.expect(case.read_file(DOS + "DOSAPP\\" + name)
                    == case.read_file(media.path("Dosdrv\\DOSAPP\\" + name)),
                    "DOS application %s not staged" % name)
    for name in ("QNAUDIO.INF", "qnaudio.sys", "Mixer.dat", "W2KSetup.dat"):
        case.expect(case.read_file(STAGING + name) == case.read_file(media.path("WinXP\\drv\\" + name)),
                    "%s is not the WinXP package's copy in the staging folder" % name)

    case.expect(case.read_file(WINDOWS + "Mixer.dat")
                == case.read_file(media.path("WinXP\\drv\\Mixer.dat")),
                "Mixer.dat in the Windows directory is not the WinXP package's")
    case.expect(case.read_file(WINDOWS + "W2KSetup.exe")
                == case.read_file(media.path("WinXP\\drv\\W2KSetup.dat")),
                "W2KSetup.exe in the Windows directory is not W2KSetup.dat")
    run_value = case.reg_value(RUN_KEY, "Replace Quarnel Mixer")
    case.expect_equal(run_value and (run_value.type, run_value.data),
                      (1, "C:\\windows\\W2KSetup.exe -ReplaceMixer"),
                      "the Run value \"Replace Quarnel Mixer\" (type, data)")
    case.expect_equal(case.read_ini(WINDOWS + "mixerdef.ini"),
                      {"runtime": {"initialize": "0", "master": "80"}}, "mixerdef.ini")

    # Updated directly: the device is still the one made above, with the INF's values.
    device = [d for d in case.devices() if d["instance"] == instance]
    case.expect(device, "the device is gone: it was removed instead of updated")
    if device:
        key = MEDIA_CLASS_KEY + "\\" + device[0]["driver"].split("\\")[-1] + "\\Settings"
        settings = case.registry().values(key)
        case.expect_equal(sorted((n, v.type) for n, v in settings.items()),
                          [("EnableLegacy", 4), ("JackConfig", 4)],
                          "values the staged INF added under the driver key")


if __name__ == "__main__":
    run_case(xp_driver_switch, windows="winxp")
