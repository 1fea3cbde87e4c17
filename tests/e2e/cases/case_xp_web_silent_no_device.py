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
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402

WINDOWS = "C:\\windows\\"
INF_FOLDER = WINDOWS + "inf\\"
STAGING = "C:\\Program Files\\Quarnel\\WIN_ME\\"
NOTICE = "The driver will be installed now. It need a few minutes to complete."
# Ten polls 3 s apart without a new mixer (mixerGetNumDevs is 0 under Wine),
# then 5 s before the prompt.
FIXED_WAITS_MS = 35000


def step_tick(case, step):
    found = [r for r in case.records("user-step") if r["step"].strip() == step]
    return int(found[0]["tick"]) if found else None


def inf_files(case):
    folder = case.unix_path(INF_FOLDER)
    return {name.lower() for name in os.listdir(folder)}


def xp_web_silent_no_device(case):
    media = case.make_media(web_setup=2)
    # The web set-up's layout: the driver package beside the installer.
    for name in ("QNAUDIO.INF", "qnaudio.sys", "Mixer.dat", "W2KSetup.dat"):
        shutil.copyfile(os.path.join(media.unix, "WinXP", "drv", name),
                        os.path.join(media.unix, name))
    case.put_file(INF_FOLDER + "Drvdata.bin", b"driver database")
    case.put_file(INF_FOLDER + "Drvidx.bin", b"driver index")
    settings = b"[RUNTIME]\r\nInitialize=1\r\n"
    case.put_file(WINDOWS + "mixerdef.ini", settings)
    infs_before = inf_files(case)

    installer = case.start_installer(media)
    case.user('''
        msgbox "%s" 30000
        ok
        gone 5000
        window "Restarting Windows" 90000
        snapshot restart-prompt
        click 1001
        sleep 300
        ok
        gone 5000
    ''' % NOTICE, timeout=150)
    installer.expect_exit(0, timeout=20)

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

    # The OEM copy: one new INF with the staged INF's bytes (Windows names it
    # oemN.inf, Wine keeps its name), and the staged one gone.
    new_infs = sorted(inf_files(case) - infs_before)
    oem = [name for name in new_infs if name.endswith(".inf")]
    case.expect_equal(len(oem), 1, "INF files added to the INF folder (%s)" % new_infs)
    if oem:
        case.expect(case.read_file(INF_FOLDER + oem[0]) == case.read_file(media.path("QNAUDIO.INF")),
                    "%s is not a copy of the staged QNAUDIO.INF" % oem[0])
    case.expect(not case.exists(STAGING + "QNAUDIO.INF"), "the staged QNAUDIO.INF is still there")
    for name in ("qnaudio.sys", "Mixer.dat", "W2KSetup.dat", "W2KSetup.exe", "setup.ini"):
        case.expect(case.read_file(STAGING + name) == case.read_file(media.path(name)),
                    "%s of the installer's folder is not staged" % name)
    case.expect(not case.exists(INF_FOLDER + "Drvdata.bin"), "Drvdata.bin is still there")
    case.expect(not case.exists(INF_FOLDER + "Drvidx.bin"), "Drvidx.bin is still there")

    # The silent web set-up stages no DOS files and leaves the mixer's settings alone,
    # but places the mixer and registers its replacement.
    case.expect(not case.exists("C:\\Program Files\\Quarnel\\DOS"), "DOS files were staged")
    case.expect(case.read_file(WINDOWS + "mixerdef.ini") == settings, "mixerdef.ini changed")
    case.expect(case.read_file(WINDOWS + "Mixer.dat") == case.read_file(media.path("Mixer.dat")),
                "Mixer.dat in the Windows directory is not the one beside the installer")
    run_value = case.reg_value(RUN_KEY, "Replace Quarnel Mixer")
    case.expect_equal(run_value and run_value.data, "C:\\windows\\W2KSetup.exe -ReplaceMixer",
                      "the Run value \"Replace Quarnel Mixer\"")


if __name__ == "__main__":
    run_case(xp_web_silent_no_device, windows="winxp")
