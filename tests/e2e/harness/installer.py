"""What the cases know of the installer: the texts and places a user and the
next program see, and the checks that every driver installation's result
gets (the staged package, the completion wait's timing, the OEM INF)."""

import os

from .case import RUN_KEY

WINDOWS = "C:\\windows\\"
INF_FOLDER = WINDOWS + "inf\\"
QUARNEL = "C:\\Program Files\\Quarnel\\"
STAGING = QUARNEL + "WIN_ME\\"
DOS = QUARNEL + "DOS\\"
MEDIA_CLASS_KEY = ("HKLM\\System\\CurrentControlSet\\Control\\Class\\"
                   "{4D36E96C-E325-11CE-BFC1-08002BE10318}")
MIXER_RUN_VALUE = "Replace Quarnel Mixer"
MIXER_RUN_COMMAND = "C:\\windows\\W2KSetup.exe -ReplaceMixer"

MAIN_DIALOG = "PCI Audio Device Driver And Applications Setup Program"
WIN2000_DIALOG = "PCI Audio Device Driver Setup Program for Windows 2000"
RESTART_PROMPT = "Restarting Windows"
NOTICE = "The driver will be installed now. It need a few minutes to complete."
MISSING_FILES = "Can not find installation files."
MISSING_PACKAGE = "Can not find the PCI Audio Applications setup program."
# mixerGetNumDevs is 0 under Wine: ten polls 3 s apart without a new mixer,
# then 5 s before the prompt.
FIXED_WAITS_MS = 35000
# The Windows 2000/XP dialog's installation pauses once more after it has
# closed the "Mixer" window.
WIN2000_MIXER_PAUSE_MS = 500
# The run after the restart: one pause after the mixer's WM_CLOSE, and up to
# 100 lookups a second apart while no window "Mixer" exists.
MIXER_CLOSE_PAUSE_MS = 1000
MIXER_LOOKUPS_MS = 100000
# How long a case waits for the prompt after the notice: the fixed waits
# and room for a slow machine.
PROMPT_WAIT_MS = 90000

# An INF of an earlier driver generation, which every driver installation
# removes first (with its PNF).
LEGACY_INF = (b"[Version]\r\nSignature=\"$CHICAGO$\"\r\nClass=MEDIA\r\n\r\n[Strings]\r\n"
              b"SSC-Legacy.DeviceDesc=\"QNI5740 PCI Audio (Legacy)\"\r\n")

# The restart prompt's reboot request, as Wine's relay trace names it, and
# its arguments: EWX_REBOOT, reason 0.
REBOOT_CALL = "user32.ExitWindowsEx"
REBOOT_ARGUMENTS = "00000002,00000000"

DRIVER_PACKAGE = ("QNAUDIO.INF", "qnaudio.sys", "Mixer.dat", "W2KSetup.dat")
DOS_FILES = ("QNSBDRV.COM", "QNINIT.EXE", "QNDOS.TXT")
DOS_APPLICATIONS = ("QNMIXDOS.EXE", "QNPLAY.EXE")

JACK_CONFIG_LINE = b'HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0'
ENABLE_LEGACY_LINE = b'HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0'
VALUE_DIGIT_OFFSET = 48


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
