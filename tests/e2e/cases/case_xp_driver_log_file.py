#!/usr/bin/env python3
"""Windows XP, the device present, command line "/DRIVER", and setup.ini's
[InstallOption] LogFile=w2ksetup.log: the installer writes its log in the
Windows directory. The log's top names Windows XP, the command line, the
media's folder, setup.ini's values and the path chosen; its lines follow the
installation step by step to the direct update of the device; its outcome
says the driver was updated and the restart declined (the user answers
"No")."""

# ctest-timeout: 240

import os
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import HARDWARE_ID, run_case  # noqa: E402
from wine_machine.installer import NOTICE, PROMPT_WAIT_MS, RESTART_PROMPT, WINDOWS  # noqa: E402
from harness.installer import expect_device_updated, quoted  # noqa: E402
from harness.install_log import expect_steps, log_lines, the_line  # noqa: E402

LOG = WINDOWS + "w2ksetup.log"


def xp_driver_log_file(case):
    media = case.make_media(log_file="w2ksetup.log")
    instance = case.add_device(HARDWARE_ID)

    installer = case.start_installer(media, ["/DRIVER"])
    case.user('''
        msgbox %s 30000
        ok
        window %s %d
        click 1001
        ok
        gone 5000
    ''' % (quoted(NOTICE), quoted(RESTART_PROMPT), PROMPT_WAIT_MS), timeout=150)
    installer.expect_exit(0, timeout=20)
    expect_device_updated(case, instance)

    lines = log_lines(case, LOG)
    if not case.expect(lines, "no log in " + LOG):
        return
    shutil.copy(case.unix_path(LOG), os.path.join(case.artifacts, "w2ksetup.log"))
    case.expect_equal(lines[2], "W2KSetup.exe, Setup Version 2.0", "the program line")
    case.expect(the_line(case, lines, "Windows:").startswith(
        "Windows:       Windows XP (platform 2, 5.1.2600"), "the Windows line")
    case.expect_equal(the_line(case, lines, "Command line:"), 'Command line:  "/DRIVER"',
                      "the command line")
    case.expect_equal(the_line(case, lines, "SourceDir:"), "SourceDir:     " + media.windows,
                      "SourceDir")
    case.expect_equal(the_line(case, lines, "setup.ini:"),
                      'setup.ini:     DriverOnly=0, WebSetup=0, InstallWDMDriver=0, '
                      'UsingCDDA=0, LogFile="w2ksetup.log"', "setup.ini's values")
    case.expect_equal(the_line(case, lines, "Path:"),
                      'Path:          Windows XP, switch "/DRIVER", WebSetup=0: '
                      'driver installation without a dialog', "the path")
    expect_steps(case, lines, ["start-up", "default sound format", "Run value", "SourceDir",
                               "setup.ini", "CD player setting", "Windows version",
                               "driver notice", "closing the audio applications",
                               "legacy INF clean-up", "staging the driver package",
                               "device search", "direct update", "waiting for the new mixers",
                               "restart prompt", "end of the run"])
    update = the_line(case, lines, "UpdateDriverForPlugAndPlayDevicesA(")
    case.expect(update.endswith(', "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF", '
                                'INSTALLFLAG_FORCE) = TRUE, no restart needed'),
                "the update's line: " + update)
    case.expect_equal(lines[-2][44:], "Outcome: Driver updated on the present device; "
                      "restart declined.", "the outcome")


if __name__ == "__main__":
    run_case(xp_driver_log_file, windows="winxp")
