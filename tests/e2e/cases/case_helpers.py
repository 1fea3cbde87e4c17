#!/usr/bin/env python3
"""The end-to-end machinery itself, without the product: the recorder, the
window holder, the user and the device maker under Wine, and the sample
media's driver INF taken by Wine's Plug-and-Play update."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import HARDWARE_ID, CaseFailure, run_case  # noqa: E402

MEDIA_CLASS_KEY = ("HKLM\\System\\CurrentControlSet\\Control\\Class\\"
                   "{4D36E96C-E325-11CE-BFC1-08002BE10318}")


def recorder_records_how_it_was_started(case):
    program = "C:\\Program Files\\Sample App\\Uninst.exe"
    case.put_file(program, source=case.helper("recorder"))
    process = case.start(program, ["-a", "two words"], cwd="C:\\windows\\",
                         env={"E2E_EXIT_CODE_UNINST_EXE": "3", "E2E_STAY_MS_UNINST_EXE": "300"})
    process.expect_exit(3, timeout=20)
    start = case.wait_for_record("start", program="Uninst.exe")
    end = case.wait_for_record("exit", program="Uninst.exe")
    case.expect_equal(start["cmdline"], '"%s" -a "two words"' % program, "recorded command line")
    case.expect_equal(start["cwd"], "C:\\windows", "recorded current directory")
    # GetTickCount and Sleep do not run on quite the same clock: allow 20 ms.
    stayed = int(end["tick"]) - int(start["tick"])
    case.expect(stayed >= 280, "the recorder stayed %d ms, not 300" % stayed)


def windows_get_closed_by_the_user(case):
    case.hold_window("TuneStack")
    cd_player = case.start(case.windows_path(case.helper("recorder")),
                           env={"E2E_WINDOW_RECORDER_EXE": "CD Player"})
    case.wait_for_record("ready", title="CD Player")
    case.user('''
        window "TuneStack" 5000
        snapshot two-windows
        close
        gone 5000
        window "CD Player" 5000
        close
        gone 5000
    ''')
    cd_player.expect_exit(0, timeout=10)
    case.expect_equal([r["title"] for r in case.records("close")], ["TuneStack", "CD Player"],
                      "windows that got WM_CLOSE, in order")
    case.expect(any(name.endswith("-two-windows.png") for name in os.listdir(case.artifacts)),
                "no screenshot for the snapshot step")


def the_watch_sees_a_program_s_windows(case):
    # What makes "no window was shown" a real finding: the same watch sees a
    # window that a short-lived program shows, and a program file with data
    # appended (as the media's Mixer.dat) still runs.
    program = "C:\\Watched\\Watched.exe"
    with open(case.helper("recorder"), "rb") as recorder:
        case.put_file(program, recorder.read() + b"\0E2E trailer\0")
    watcher = case.start_user("watch Watched.exe 15000")
    case.wait_for_record("watch-begin")
    case.start(program, env={"E2E_WINDOW_WATCHED_EXE": "Watched Window",
                             "E2E_STAY_MS_WATCHED_EXE": "700"}).expect_exit(0, timeout=15)
    watcher.expect_exit(0, timeout=15)
    case.expect_equal([(r["title"], r["class"]) for r in case.records("window-seen")],
                      [("Watched Window", "E2EWindowHolder")], "windows the watch saw")


def a_failing_step_fails_loudly(case):
    try:
        case.user('window "No Such Window" 200')
    except CaseFailure as failure:
        case.expect("No Such Window" in str(failure) and "200 ms" in str(failure),
                    "unclear failure message: %s" % failure)
    else:
        case.fail("the user did not fail on a missing window")


def the_media_driver_installs_on_a_device(case):
    media = case.make_media(installer=case.helper("recorder"))
    instance = case.add_device(HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID)
    listed = [d for d in case.devices() if d["instance"] == instance]
    case.expect_equal(listed and listed[0]["hwids"],
                      [HARDWARE_ID + "&SUBSYS_57401849", HARDWARE_ID],
                      "hardware IDs of the device made")
    for folder in ("WinXP", "W2K-ME", "WIN_ME"):
        output = case.device_maker("update", HARDWARE_ID, media.path(folder + "\\drv\\QNAUDIO.INF"))
        case.expect("updated\treboot=0" in output, "update from %s: %s" % (folder, output))
    driver = [d for d in case.devices() if d["instance"] == instance][0]["driver"]
    settings = case.registry().values(MEDIA_CLASS_KEY + "\\" + driver.split("\\")[-1]
                                      + "\\Settings")
    # Wine reads the byte fields "0x03" and "0x05" as 0: only names and
    # types are Wine's to check, the bytes are checked in the INF itself.
    case.expect_equal(sorted((n, v.type) for n, v in settings.items()),
                      [("EnableLegacy", 4), ("JackConfig", 4)],
                      "values the INF's AddReg left under the driver key")
    case.expect(case.exists("C:\\windows\\system32\\drivers\\qnaudio.sys"),
                "the INF's CopyFiles did not copy qnaudio.sys")
    case.device_maker("remove", HARDWARE_ID)
    case.expect(not [d for d in case.devices() if d["instance"] == instance],
                "the device is still present after remove")


def helpers(case):
    recorder_records_how_it_was_started(case)
    windows_get_closed_by_the_user(case)
    the_watch_sees_a_program_s_windows(case)
    a_failing_step_fails_loudly(case)
    the_media_driver_installs_on_a_device(case)


if __name__ == "__main__":
    run_case(helpers, windows="winxp")
