"""What the cases check of every driver installation's result: the staged
package, the completion wait's timing, the OEM INF (what is known of the
installer itself is in wine_machine.installer)."""

import os

from wine_machine.machine import RUN_KEY
from wine_machine.installer import (DOS, DOS_APPLICATIONS, DOS_FILES, DRIVER_PACKAGE,
                                    FIXED_WAITS_MS, INF_FOLDER, MEDIA_CLASS_KEY,
                                    MIXER_RUN_COMMAND, MIXER_RUN_VALUE, STAGING,
                                    VALUE_DIGIT_OFFSET, WINDOWS)


def quoted(text):
    """A text as one word of a user script."""
    return '"%s"' % text.replace('"', '""')


def expect_prompt_after_fixed_waits(case, installer, answered, prompted):
    """The restart prompt comes after the whole completion wait, and not much
    later: `answered` and `prompted` are the user's ticks (ms) of the notice's
    OK and of the prompt found. Prints the timing for the report."""
    if answered is None or prompted is None:
        case.expect(False, "the user's steps give no time for the notice or the prompt")
        return
    waited = prompted - answered
    overhead = waited - FIXED_WAITS_MS
    text = ("%d ms from the notice to the prompt (fixed waits %d ms, overhead %d ms); "
            "installer wall time %.2f s" % (waited, FIXED_WAITS_MS, overhead,
                                             installer.seconds or 0.0))
    case.log("timing: " + text)
    print("timing: " + text)
    case.expect(0 <= overhead < 15000, "the prompt came %d ms after the notice" % waited)


def expect_driver_package_staged(case, media, folder):
    """What the command-line and main-dialog installations leave behind: the
    DOS files, the driver package of the media's `folder` (such as
    "WinXP\\drv\\") in the staging folder, the mixer and the installer in the
    Windows directory."""
    for name in DOS_FILES:
        case.expect(case.read_file(DOS + name) == case.read_file(media.path("Dosdrv\\" + name)),
                    "DOS file %s not staged" % name)
    for name in DOS_APPLICATIONS:
        case.expect(case.read_file(DOS + "DOSAPP\\" + name)
                    == case.read_file(media.path("Dosdrv\\DOSAPP\\" + name)),
                    "DOS application %s not staged" % name)
    for name in DRIVER_PACKAGE:
        case.expect(case.read_file(STAGING + name) == case.read_file(media.path(folder + name)),
                    "%s in the staging folder is not the copy of %s" % (name, folder))
    case.expect(case.read_file(WINDOWS + "Mixer.dat") == case.read_file(media.path(folder + "Mixer.dat")),
                "Mixer.dat in the Windows directory is not the copy of " + folder)
    case.expect(case.read_file(WINDOWS + "W2KSetup.exe")
                == case.read_file(media.path(folder + "W2KSetup.dat")),
                "W2KSetup.exe in the Windows directory is not W2KSetup.dat of " + folder)


def expect_mixer_replacement_registered(case):
    """The Run value that brings the installer back after the restart."""
    run_value = case.reg_value(RUN_KEY, MIXER_RUN_VALUE)
    case.expect_equal(run_value and (run_value.type, run_value.data),
                      (1, MIXER_RUN_COMMAND),
                      "the Run value \"%s\" (type, data)" % MIXER_RUN_VALUE)


def expect_device_updated(case, instance):
    """The device made with `instance` was updated in place from the staged
    INF: it is still there, and its driver key got the INF's Settings values
    (Wine reads the INF's byte fields as 0, so only names and types count)."""
    device = [d for d in case.devices() if d["instance"] == instance]
    if not case.expect(device, "the device is gone: it was removed instead of updated"):
        return
    key = MEDIA_CLASS_KEY + "\\" + device[0]["driver"].split("\\")[-1] + "\\Settings"
    settings = case.registry().values(key)
    case.expect_equal(sorted((n, v.type) for n, v in settings.items()),
                      [("EnableLegacy", 4), ("JackConfig", 4)],
                      "values the staged INF added under the driver key")


def inf_names(case):
    """The file names in the INF folder, in lower case."""
    return {name.lower() for name in os.listdir(case.unix_path(INF_FOLDER))}


def new_oem_inf(case, names_before):
    """The one INF the installation registered (Windows names the copy
    oemN.inf, Wine keeps the INF's own name), or None after a failed check."""
    added = sorted(inf_names(case) - names_before)
    infs = [name for name in added if name.endswith(".inf")]
    if not case.expect_equal(len(infs), 1, "INF files added to the INF folder (%s)" % added):
        return None
    return INF_FOLDER + infs[0]


def with_value_digit(inf, line, digit):
    """The INF's bytes with the value digit of `line` (at the start of a line)
    set to `digit` (one character)."""
    at = 0 if inf.startswith(line) else inf.find(b"\n" + line) + 1
    if at == 0 and not inf.startswith(line):
        raise ValueError("the INF has no line %r" % line)
    at += VALUE_DIGIT_OFFSET
    return inf[:at] + digit.encode("ascii") + inf[at + 1:]


def run_silent(case, media, args, code, timeout, env=None):
    """Runs the media's installer with `args` as a script runs it and checks
    that it ends with exit code `code`. The user helper starts it and reads
    its whole exit code (a Unix parent gets only the low byte from Wine: 3010
    comes as 194), and meanwhile records every window it shows. Returns the
    titles of those windows and the seconds from its start to its end."""
    seen = len(case.records("window-seen"))
    start = "start %s %s" % (quoted(media.path("W2KSetup.exe") + " " + args), quoted(media.windows))
    watch = "watch W2KSetup.exe %d" % (timeout * 1000)
    case.user("%s\n%s\nwait-exit 5000\n" % (start, watch), timeout=timeout + 20, env=env)
    ended = [r for r in case.records("user-step") if r["step"].strip() == "wait-exit 5000"]
    case.expect_equal(ended and ended[-1]["result"], "ended with exit code %d" % code,
                      "the end of \"W2KSetup.exe %s\"" % args)
    started, watched = case.step_tick(start.strip()), case.step_tick(watch)
    seconds = (watched - started) / 1000.0 if started is not None and watched is not None else None
    return [r["title"] for r in case.records("window-seen")[seen:]], seconds
