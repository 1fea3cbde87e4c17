"""The typical run on Windows XP, driven like a person: the media with the
application package and the WinXP driver package, the device present, the
old driver's mixer running, no command line, "WebSetup" = 0. The user clears
"Install Applications", presses OK, answers the driver notice, and on the
restart prompt keeps "Yes" and presses OK: the installer requests the reboot
and ends.

Under Wine ExitWindowsEx(EWX_REBOOT) returns TRUE and starts
"wineboot --end-session", which ends the session's programs (end-session
messages, then TerminateProcess) and then does what a start-up and logon do,
the Run entries included: the restart happens in the same prefix, and the
installer's Run value brings it back with -ReplaceMixer, which swaps in the
new mixer. The run ends when the new mixer has started.

The end-to-end case runs it (and `w2kmedia try --earlier-driver` plants the
same earlier driver):

    run = TypicalRun(case)     # media, an earlier driver, the device, the old mixer
    run.drive()                # the installer and the user, then the restart
    run.check()                # what the run must have left behind
"""

import os
import re

from wine_machine.earlier_driver import (OLD_MIXER, OLD_MIXER_RUN_COMMAND, OLD_MIXER_RUN_VALUE,
                                         add_sound_device, plant_earlier_driver,
                                         start_old_mixer)
from wine_machine.installer import (FIXED_WAITS_MS, INF_FOLDER, MAIN_DIALOG, MIXER_RUN_COMMAND,
                                    MIXER_RUN_VALUE, NOTICE, PROMPT_WAIT_MS, REBOOT_ARGUMENTS,
                                    REBOOT_CALL, RESTART_PROMPT, WINDOWS)
from wine_machine.machine import RUN_KEY

from .installer import (expect_device_updated, expect_driver_package_staged,
                        expect_prompt_after_fixed_waits, quoted)

RUN_ENTRIES = (MIXER_RUN_COMMAND, OLD_MIXER_RUN_COMMAND)
# How the restart's Run entries are started: wineboot's CreateProcessW,
# whose command lines the relay trace shows.
START_CALL = "kernelbase.CreateProcessW"

# The screenshots the run keeps, in the order they are taken.
SCREENSHOTS = ("main-dialog", "notice", "wait-text", "restart-prompt")

# While the driver installs, the installer's thread sleeps: the user looks
# only at what needs no answer from it (visibility and texts, not check
# states).
USER_SCRIPT = '''
    window %(main)s 20000
    expect 1001 checked visible enabled
    expect 1002 checked visible enabled
    expect 1003 hidden
    snapshot main-dialog
    click 1001
    sleep 300
    expect 1001 unchecked
    expect 1002 checked
    expect 1 enabled
    ok
    msgbox %(notice)s 10000
    snapshot notice
    ok
    gone 5000
    window %(main)s 2000
    expect 1003 visible
    expect 1001 hidden
    expect 1002 hidden
    expect-text 1003 "Please wait ....."
    snapshot wait-text
    window %(prompt)s %(prompt_wait)d
    snapshot restart-prompt
    expect 1000 checked
    expect 1001 unchecked
    window %(main)s 1000
    expect 1003 visible
    expect 1001 hidden
    expect 1002 hidden
    window %(prompt)s 1000
    ok
    gone 5000
''' % {"main": quoted(MAIN_DIALOG), "notice": quoted(NOTICE), "prompt": quoted(RESTART_PROMPT),
       "prompt_wait": PROMPT_WAIT_MS}


class TypicalRun:
    def __init__(self, case):
        self.case = case
        self.environment = case.trace_calls(REBOOT_CALL, START_CALL)
        plant_earlier_driver(case)
        self.media = case.make_media(web_setup=0)
        self.instance = add_sound_device(case)
        start_old_mixer(case)
        self.installer = None
        self.new_mixer = None

    def drive(self):
        """Runs the installer with the user to the end of the restart prompt,
        and then waits for the restart's new mixer."""
        self.installer = self.case.start_installer(self.media, env=self.environment)
        self.case.user(USER_SCRIPT, timeout=(FIXED_WAITS_MS + PROMPT_WAIT_MS) // 1000)
        self.installer.expect_exit(0, timeout=20)
        self.new_mixer = self.case.wait_for_record("start", program="Mixer.exe", timeout=30)

    def restart_commands(self):
        """The Run entries (command lines) the restart started, in order."""
        return [c for c in self.wine_started_commands() if c in RUN_ENTRIES]

    def wine_started_commands(self):
        """The command lines that Wine's own programs started with
        CreateProcessW (wineboot, and explorer on a display of its own)."""
        found = []
        for arguments, _ in self.case.traced_calls(START_CALL):
            text = re.search(r'L"((?:[^"\\]|\\.)*)"', arguments)
            if text:
                found.append(re.sub(r"\\(.)", r"\1", text.group(1)))
        return found

    def check_restart(self):
        """The restart ran both Run entries; the installer's replaced the
        mixer and removed its own value."""
        case = self.case
        started = self.wine_started_commands()
        for command in RUN_ENTRIES:
            case.expect(command in started, "the restart did not start the Run entry %s; "
                        "started: %s" % (command, started))
        case.expect_equal(self.new_mixer["cmdline"], OLD_MIXER + " /startup",
                          "the new mixer's command line")
        case.expect_equal([c["count"] for c in case.records("close", title="Mixer")], ["1"],
                          "WM_CLOSE messages the mixer started at logon got")
        case.expect(case.read_file(OLD_MIXER) == case.read_file(self.media.path("WinXP\\drv\\Mixer.dat")),
                    "Mixer.exe is not the WinXP package's Mixer.dat")
        case.expect(case.reg_value(RUN_KEY, MIXER_RUN_VALUE) is None,
                    "the Run value \"%s\" is still there after the restart" % MIXER_RUN_VALUE)
        case.expect(case.reg_value(RUN_KEY, OLD_MIXER_RUN_VALUE) is not None,
                    "the Run value \"%s\" went" % OLD_MIXER_RUN_VALUE)

    def screenshots(self):
        """The paths of the screenshots kept, by name."""
        shots = sorted(f for f in os.listdir(self.case.artifacts) if f.endswith(".png"))
        return {name: os.path.join(self.case.artifacts, shot)
                for name in SCREENSHOTS for shot in shots if shot.endswith("-%s.png" % name)}

    def check(self):
        case = self.case
        expect_prompt_after_fixed_waits(
            case, self.installer, case.step_tick("ok", after="msgbox"),
            case.step_tick("window %s %d" % (quoted(RESTART_PROMPT), PROMPT_WAIT_MS)))
        case.expect_equal(case.traced_calls(REBOOT_CALL), [(REBOOT_ARGUMENTS, 1)],
                          "calls of ExitWindowsEx (arguments, result)")
        self.check_restart()

        # The applications were not asked for: no package setup, no handshake.
        case.expect_equal(case.records("start", program="Setup.exe"), [],
                          "Setup.exe programs started")
        case.expect(not case.exists(WINDOWS + "QNISETUP.INI"), "QNISETUP.INI was written")

        case.expect(not case.exists(INF_FOLDER + "oem7.inf"), "the earlier driver's INF is still there")
        case.expect(not case.exists(INF_FOLDER + "oem7.PNF"), "the earlier driver's PNF is still there")
        case.expect_equal(case.read_ini(WINDOWS + "mixerdef.ini"),
                          {"runtime": {"initialize": "0", "master": "80"}}, "mixerdef.ini")
        expect_driver_package_staged(case, self.media, "WinXP\\drv\\")
        expect_device_updated(case, self.instance)
        shots = self.screenshots()
        case.expect_equal(sorted(shots), sorted(SCREENSHOTS), "screenshots kept")
