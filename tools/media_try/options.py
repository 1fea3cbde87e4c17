"""The command line of `w2kmedia try`, checked before anything runs: a
mistake is told in one sentence, and no Wine process, display or folder is
made for it."""

import argparse
import os
import re
import shlex

from wine_machine import host, sandbox

from . import image, twin
from .observe import INSTALLER

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
# What `--windows` takes, and the Windows version Wine is told to play for it.
WINDOWS_VERSIONS = {"95": "win95", "98": "win98", "me": "winme", "nt4": "nt40",
                    "2000": "win2k", "xp": "winxp"}
WINDOWS_NAMES = {"95": "Windows 95", "98": "Windows 98", "me": "Windows ME",
                 "nt4": "Windows NT 4.0", "2000": "Windows 2000", "xp": "Windows XP"}
# The jack boxes of the Windows 2000/XP dialog, by their control ids.
JACKS = {"rear": 1011, "centre": 1012, "micsub": 1013}
# A folder that a run wrote holds this file; only such a folder is emptied
# for a new run.
OUTPUT_MARK = ".w2kmedia-try"

NOT_PLAYABLE = {
    "fails": "Wine's UpdateDriverForPlugAndPlayDevicesA cannot be told to fail",
    "reboot": "Wine's UpdateDriverForPlugAndPlayDevicesA cannot be told to ask for a restart",
}


class UsageError(Exception):
    """A command line that cannot be run; the text says why in one sentence."""


class _Parser(argparse.ArgumentParser):
    def error(self, message):
        raise UsageError(message)


def _parser():
    parser = _Parser(
        prog="w2kmedia try",
        description="Run the media's own W2KSetup.exe in a throwaway Wine prefix of the "
                    "chosen Windows version, answer its windows as given, follow a restart "
                    "into the -ReplaceMixer run, and write report.json, report.html and "
                    "the screenshots.")
    parser.add_argument("media", metavar="MEDIA",
                        help="the media root: the folder that holds W2KSetup.exe (any case), "
                             "or an ISO 9660 image of it (.iso); it becomes drive D: of the "
                             "prefix, an image as a CD drive with its names as Windows shows "
                             "them and every file read-only")
    parser.add_argument("--windows", default="xp", metavar="VERSION",
                        help="95, 98, me, nt4, 2000 or xp (default xp)")
    parser.add_argument("--args", default="", metavar="TEXT",
                        help="the command line after the program name, e.g. --args /DRIVER")
    parser.add_argument("--device", default="present",
                        choices=["present", "absent", "fails", "reboot"],
                        help="the sound device: present (default) or absent; fails and "
                             "reboot cannot be played under Wine and are refused")
    parser.add_argument("--apps", default="yes", choices=["yes", "no"],
                        help="main options dialog: Install Applications (default yes)")
    parser.add_argument("--driver", default="yes", choices=["yes", "no"],
                        help="main options dialog: Install Device Driver (default yes)")
    parser.add_argument("--cancel", action="store_true",
                        help="press Cancel in the options dialog")
    parser.add_argument("--board", default="motherboard", choices=["motherboard", "soundcard"],
                        help="Windows 2000/XP dialog: where the chip sits (default motherboard)")
    parser.add_argument("--jack", action="append", default=[], choices=sorted(JACKS),
                        help="Windows 2000/XP dialog: click this jack box (repeatable, in order)")
    parser.add_argument("--legacy", action="store_true",
                        help="Windows 2000/XP dialog: Disable legacy device")
    parser.add_argument("--restart", default="yes", choices=["yes", "no"],
                        help="restart prompt: restart now (default yes)")
    parser.add_argument("--visible", action="store_true",
                        help="show the windows on $DISPLAY instead of a private Xvfb")
    parser.add_argument("--out", metavar="DIR",
                        help="where the report goes (default build/try/<media folder name>)")
    parser.add_argument("--lang", metavar="LOCALE",
                        help="the language the programs run in, e.g. zh_TW, ja_JP, ko_KR, "
                             "fr_FR (default: English)")
    parser.add_argument("--earlier-driver", action="store_true",
                        help="the machine has an earlier driver of the device: its INF in "
                             "the INF folder, mixerdef.ini, and its mixer running (and "
                             "started at each logon)")
    parser.add_argument("--no-sandbox", action="store_true",
                        help="run the programs on this machine itself, as Wine alone runs "
                             "them: the media's programs can then read and write your files, "
                             "use the network and start programs that outlive the run")
    parser.add_argument("--keep", action="store_true",
                        help="keep the prefix afterwards (its path is in the report)")
    parser.add_argument("--work", metavar="DIR",
                        default=os.path.join(REPO, "build", "try", ".work"),
                        help="where the template prefixes and the prefix go")
    parser.add_argument("--win32-build", metavar="DIR",
                        default=os.path.join(REPO, "build", "win32"),
                        help="the product's Windows build (W2KSetup.exe, e2e-helpers/)")
    parser.add_argument("--win64-build", metavar="DIR",
                        default=os.path.join(REPO, "build", "win64"),
                        help="the x86-64 twin's build, which runs where 32-bit programs cannot")
    parser.add_argument("--time-scale", type=float, default=1.0,
                        help="multiply every time limit (for slow machines)")
    return parser


def _joined_args(argv):
    """`--args -ReplaceMixer` as `--args=-ReplaceMixer`: the text after
    --args is the installer's, even when it starts with a dash."""
    joined = []
    i = 0
    while i < len(argv):
        if argv[i] == "--args" and i + 1 < len(argv):
            joined.append("--args=" + argv[i + 1])
            i += 2
        else:
            joined.append(argv[i])
            i += 1
    return joined


def find_installer(media):
    """The installer's file name in the media root (any case), or None."""
    names = sorted(n for n in os.listdir(media)
                   if n.lower() == INSTALLER and os.path.isfile(os.path.join(media, n)))
    return names[0] if names else None


def _check_media(path):
    """The installer's name in a media folder; None for a disc image, whose
    tree is read later."""
    if not os.path.exists(path):
        raise UsageError("%s does not exist" % path)
    if image.is_image(path):
        return None
    if not os.path.isdir(path):
        raise UsageError("%s is a file, not a media folder or a disc image (.iso): give the "
                         "folder that holds W2KSetup.exe" % path)
    return _installer_of(path, path)


def _installer_of(path, tree):
    try:
        installer = find_installer(tree)
    except OSError as error:
        raise UsageError("%s cannot be read: %s" % (path, error.strerror))
    if installer is None:
        raise UsageError("%s is not an install media: it holds no W2KSetup.exe" % path)
    return installer


def _default_out(media):
    name = re.sub(r"[^A-Za-z0-9._-]+", "_", os.path.basename(media)) or "media"
    return os.path.join(REPO, "build", "try", name)


def _inside(path, folder):
    return path == folder or path.startswith(folder.rstrip(os.sep) + os.sep)


def _check_out(out, media):
    if _inside(out, media) or _inside(media, out):
        raise UsageError("the output folder %s and the media %s must not hold one another"
                         % (out, media))
    if os.path.exists(out) and not os.path.isdir(out):
        raise UsageError("the output folder %s is a file" % out)
    if (os.path.isdir(out) and os.listdir(out)
            and not os.path.exists(os.path.join(out, OUTPUT_MARK))):
        raise UsageError("the output folder %s holds other files; give a new or empty "
                         "folder with --out" % out)


def _locale(text):
    if not text:
        return None
    if not re.fullmatch(r"[a-z]{2,3}_[A-Z]{2}(\.[\w-]+)?", text):
        raise UsageError("--lang %s is not a locale such as zh_TW or fr_FR" % text)
    return text if "." in text else text + ".UTF-8"


def parse(argv):
    """The options of a run, checked; raises UsageError."""
    options = _parser().parse_args(_joined_args(argv))

    options.media = os.path.realpath(options.media)
    options.installer_name = _check_media(options.media)
    version = options.windows.lower()
    if version not in WINDOWS_VERSIONS:
        raise UsageError("Windows %s cannot be played under Wine here; --windows takes "
                         "95, 98, me, nt4, 2000 or xp" % options.windows)
    options.windows = version
    options.wine_version = WINDOWS_VERSIONS[version]
    options.windows_name = WINDOWS_NAMES[version]
    if options.device in NOT_PLAYABLE:
        raise UsageError("--device %s cannot be played under Wine: %s. `tools/w2kmedia plan "
                         "--device %s` shows that route on the simulated Windows"
                         % (options.device, NOT_PLAYABLE[options.device], options.device))
    options.lang = _locale(options.lang)
    options.out = os.path.realpath(options.out or _default_out(options.media))
    _check_out(options.out, options.media)
    options.work = os.path.abspath(options.work)
    options.win32_build = os.path.abspath(options.win32_build)
    options.win64_build = os.path.abspath(options.win64_build)
    options.way = host.way()
    options.windows_build = options.way.windows_build(options.win32_build, options.win64_build)
    options.product = os.path.join(options.win32_build, "W2KSetup.exe")
    options.twin_installer = os.path.join(options.win64_build, "W2KSetup.exe")
    options.sandbox = not options.no_sandbox
    if options.sandbox:
        try:
            sandbox.check_available()
        except sandbox.SandboxError as error:
            raise UsageError(str(error))
        display = os.environ.get("DISPLAY")
        if options.visible and display and not display.startswith(":"):
            raise UsageError("--visible shows the sandbox's windows on a display of this "
                             "machine, through its socket (DISPLAY=:N), and DISPLAY is %s; "
                             "on a network display (ssh -X) add --no-sandbox" % display)
    options.media_tree = options.media
    options.image = options.installer_name is None
    if options.image:
        try:
            options.media_tree = image.extract(options.media, options.work)
        except image.ImageError as error:
            raise UsageError(str(error))
        options.installer_name = _installer_of(options.media, options.media_tree)
    options.replaced = _twin_replaces(options) if options.way.is_twin else []
    return options


def _twin_replaces(options):
    """Where the twin must run: the media's installer files that it stands
    in for, once they are found to be the product; else UsageError."""
    for path in (options.product, options.twin_installer):
        if not os.path.isfile(path):
            raise UsageError("%s is missing: build the Windows configurations (scripts/build.sh)"
                             % path)
    relatives = twin.installer_files(options.media_tree, options.installer_name)
    foreign = twin.foreign_installer(options.media_tree, relatives, options.product)
    if foreign is not None:
        raise UsageError("this machine runs no 32-bit programs, and %s is not this tree's "
                         "i686 build, whose x86-64 twin could run in its place; `tools/w2kmedia "
                         "plan %s` shows its run on the simulated Windows"
                         % (twin.drive_path(foreign), shlex.quote(options.media)))
    return relatives


def answers(options):
    """The answers as the report names them."""
    return {"apps": options.apps, "driver": options.driver, "cancel": options.cancel,
            "board": options.board, "jacks": list(options.jack), "legacy": options.legacy,
            "restart": options.restart}


def responder_settings(options, command, directory, stop_file):
    """The settings file of the helper that answers the windows."""
    lines = {
        "command": command, "directory": directory, "installer": INSTALLER,
        "apps": int(options.apps == "yes"), "driver": int(options.driver == "yes"),
        "cancel": int(options.cancel), "soundcard": int(options.board == "soundcard"),
        "jacks": ",".join(str(JACKS[j]) for j in options.jack),
        "legacy": int(options.legacy), "restart": int(options.restart == "yes"),
        "stop": stop_file,
    }
    return "".join("%s=%s\n" % item for item in lines.items())
