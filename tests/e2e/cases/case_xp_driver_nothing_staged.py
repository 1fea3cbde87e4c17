#!/usr/bin/env python3
"""Windows XP, the device present, command line "/DRIVER", on a media whose
"WinXP\\drv\\" lacks "QNAUDIO.INF": after the notice the installer finds no
staged INF and says "Can not find installation files.". The device keeps its
driver (it is neither updated nor removed), no OEM INF is registered, no
mixer replacement waits for the next logon, and no restart is asked for;
the run still ends with 0. Then "/S" on the same machine shows no window
at all, leaves the device and the INF folder alone too, and ends with 1603."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import HARDWARE_ID, RUN_KEY, run_case  # noqa: E402
from wine_machine.installer import MIXER_RUN_VALUE, NOTICE, RESTART_PROMPT  # noqa: E402
from harness.installer import inf_names, quoted, run_silent  # noqa: E402

MISSING_FILES = "Can not find installation files."


def xp_driver_nothing_staged(case):
    media = case.make_media()
    os.remove(os.path.join(media.unix, "WinXP", "drv", "QNAUDIO.INF"))
    instance = case.add_device(HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID)
    device_before = [d for d in case.devices() if d["instance"] == instance]
    infs_before = inf_names(case)

    watcher = case.start_user("watch W2KSetup.exe 60000")
    case.wait_for_record("watch-begin")
    installer = case.start_installer(media, ["/DRIVER"])
    case.user('''
        msgbox %s 30000
        ok
        gone 5000
        msgbox %s 30000
        ok
        gone 5000
    ''' % (quoted(NOTICE), quoted(MISSING_FILES)), timeout=60)
    installer.expect_exit(0, timeout=20)
    watcher.expect_exit(0, timeout=10)

    titles = [r["title"] for r in case.records("window-seen")]
    case.expect(RESTART_PROMPT not in titles, "the restart prompt came: %s" % titles)
    case.expect_equal([d for d in case.devices() if d["instance"] == instance], device_before,
                      "the device and its driver")
    case.expect_equal(inf_names(case), infs_before, "the INF folder")
    case.expect(case.reg_value(RUN_KEY, MIXER_RUN_VALUE) is None,
                "the Run value \"%s\" was written" % MIXER_RUN_VALUE)

    shown, _ = run_silent(case, media, "/S", 1603, timeout=30)
    case.expect_equal(shown, [], "windows \"/S\" showed")
    case.expect_equal([d for d in case.devices() if d["instance"] == instance], device_before,
                      "the device and its driver after \"/S\"")
    case.expect_equal(inf_names(case), infs_before, "the INF folder after \"/S\"")
    case.expect(case.reg_value(RUN_KEY, MIXER_RUN_VALUE) is None,
                "\"/S\" wrote the Run value \"%s\"" % MIXER_RUN_VALUE)


if __name__ == "__main__":
    run_case(xp_driver_nothing_staged, windows="winxp")
