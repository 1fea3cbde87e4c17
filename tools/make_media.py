#!/usr/bin/env python3
"""Writes a sample install-media tree for the W2KSetup installer.

The tree has the layout the installer reads: setup.ini, the installer as
W2KSetup.exe (and W2KSetup.dat in every driver folder), the media's own
Setup.exe, the DOS drivers, one or more driver folders with a media-class
QNAUDIO.INF (for a web set-up also a driver package beside the installer),
and the application package's setup program. The outside
programs (the media's Setup.exe, the mixer, the package's setup program) are
copies of one stand-in program, for example the end-to-end recorder, unless
they are given one by one.

Only the folder given on the command line and what lies below it is written.

Example:
  tools/make_media.py /tmp/media --installer build/win32/W2KSetup.exe \\
      --programs build/win32/e2e-helpers/recorder.exe --web-setup 1
"""

import argparse
import os
import stat
import sys

HARDWARE_ID = "PCI\\VEN_7E2D&DEV_0111"
DRIVER_FOLDERS = ("WinXP", "W2K-ME", "WIN_ME")
PACKAGE_FOLDERS = ("W2K-ME", "WIN_ME")
MEDIA_CLASS_GUID = "{4d36e96c-e325-11ce-bfc1-08002be10318}"

# The two option lines that the installer patches in place: they must stand
# at the start of their lines exactly like this.
ENABLE_LEGACY_LINE = 'HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0'
JACK_CONFIG_LINE = 'HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0'

# Per driver folder: INF signature and driver version, so that a staged copy
# tells which folder of the media it came from.
# The package beside the installer (the web set-up's layout) is the
# Windows 2000/XP driver, under a version of its own.
BESIDE_INSTALLER = "beside the installer"
FOLDER_DETAILS = {
    "WinXP": ("$Windows NT$", "5.12.1.5740"),
    "W2K-ME": ("$Windows NT$", "5.10.2.5740"),
    "WIN_ME": ("$CHICAGO$", "4.90.3.5740"),
    BESIDE_INSTALLER: ("$Windows NT$", "5.12.4.5740"),
}

DOS_FILES = {
    "QNSBDRV.COM": b"QNSBDRV resident DOS driver\r\n",
    "QNINIT.EXE": b"MZ QNINIT initialises the 5740 for DOS games\r\n",
    "QNDOS.TXT": b"DOS drivers for the 5740 PCI audio device.\r\n",
}
DOSAPP_FILES = {
    "QNMIXDOS.EXE": b"MZ QNMIXDOS mixer for DOS\r\n",
    "QNPLAY.EXE": b"MZ QNPLAY wave player for DOS\r\n",
}


def driver_inf(folder, hardware_id):
    """The text of QNAUDIO.INF for one driver folder, with CR LF line ends."""
    signature, version = FOLDER_DETAILS[folder]
    lines = [
        "; QNAUDIO.INF - driver for the 5740 PCI audio device",
        "; Driver package: " + (folder if folder == BESIDE_INSTALLER else folder + "\\drv"),
        "",
        "[Version]",
        'Signature="%s"' % signature,
        "Class=MEDIA",
        "ClassGUID=%s" % MEDIA_CLASS_GUID,
        "Provider=%Mfg%",
        "DriverVer=06/14/2004,%s" % version,
        "",
        "[SourceDisksNames]",
        "1=%DiskName%,,,",
        "",
        "[SourceDisksFiles]",
        "qnaudio.sys=1",
        "",
        "[DestinationDirs]",
        "DefaultDestDir=12",
        "",
        "[Manufacturer]",
        "%Mfg%=Quarnel",
        "",
        "[Quarnel]",
        "%QNAUDIO.DeviceDesc%=QNAUDIO, " + hardware_id,
        "",
        "[QNAUDIO]",
        "CopyFiles=QNAUDIO.CopyFiles",
        "AddReg=QNAUDIO.AddReg",
        "",
        "[QNAUDIO.CopyFiles]",
        "qnaudio.sys",
        "",
        "[QNAUDIO.AddReg]",
        "HKR,,DevLoader,,*ntkern",
        "HKR,,NTMPDriver,,qnaudio.sys",
        ENABLE_LEGACY_LINE,
        JACK_CONFIG_LINE,
        "",
        "[Strings]",
        'Mfg="Quarnel"',
        'DiskName="5740 PCI Audio Driver Disk"',
        'QNAUDIO.DeviceDesc="5740 PCI Audio Device"',
    ]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def setup_ini(options):
    """setup.ini with the keys that were asked for; None when there are none."""
    install = [("DriverOnly", options.driver_only), ("WebSetup", options.web_setup),
               ("InstallWDMDriver", options.install_wdm_driver), ("LogFile", options.log_file)]
    lines = []
    given = [(key, value) for key, value in install if value is not None]
    if given:
        lines.append("[InstallOption]")
        lines += ["%s=%s" % item for item in given]
    if options.using_cdda is not None:
        if lines:
            lines.append("")
        lines += ["[Default]", "UsingCDDA=%s" % options.using_cdda]
    if not lines:
        return None
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


class MediaWriter:
    """Writes files below one root folder and never outside it."""

    def __init__(self, root, read_only):
        self.root = os.path.abspath(root)
        self.read_only = read_only
        self.written = []

    def path(self, relative):
        parts = relative.split("\\")
        full = os.path.abspath(os.path.join(self.root, *parts))
        if os.path.commonpath([self.root, full]) != self.root:
            raise ValueError("refusing to write outside %s: %s" % (self.root, relative))
        return full

    def folder(self, relative):
        os.makedirs(self.path(relative), exist_ok=True)

    def write(self, relative, data):
        full = self.path(relative)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        if os.path.exists(full):
            os.chmod(full, stat.S_IRUSR | stat.S_IWUSR)
        with open(full, "wb") as out:
            out.write(data)
        self._finish(relative, full)

    def copy(self, relative, source, trailer=b""):
        with open(source, "rb") as program:
            self.write(relative, program.read() + trailer)

    def _finish(self, relative, full):
        # Files on a CD are read-only; Wine shows a file without write
        # permission as FILE_ATTRIBUTE_READONLY.
        if self.read_only:
            os.chmod(full, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        self.written.append(relative)


def program_for(options, specific, left_out):
    if left_out:
        return None
    return specific or options.programs


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        prog="make_media.py",
        description="Write a sample install-media tree for W2KSetup.exe below DEST.",
        epilog="Keys of setup.ini that are not given are left out of the file, so the "
               "installer takes its defaults for them. The outside programs are plain "
               "copies of the files given; each Mixer.dat gets a short trailer naming "
               "its driver folder (\"E2E-MEDIA-FOLDER:...\"), so that a copy tells "
               "where it came from.",
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("dest", metavar="DEST",
                        help="folder to write the media into (created when missing)")
    parser.add_argument("--installer", metavar="EXE",
                        help="the installer, copied as W2KSetup.exe at the root and as "
                             "W2KSetup.dat into every driver folder")
    parser.add_argument("--programs", metavar="EXE",
                        help="stand-in for every outside program: the media's Setup.exe, "
                             "Mixer.dat and the package's Setup.exe (e.g. the recorder)")
    parser.add_argument("--media-setup", metavar="EXE", help="the media's own Setup.exe")
    parser.add_argument("--mixer", metavar="EXE", help="the new mixer, Mixer.dat")
    parser.add_argument("--package-setup", metavar="EXE",
                        help="the application package's setup program")
    parser.add_argument("--no-media-setup", action="store_true",
                        help="leave out the media's Setup.exe")
    parser.add_argument("--no-mixer", action="store_true",
                        help="leave Mixer.dat out of the driver packages")
    parser.add_argument("--no-package", action="store_true",
                        help="leave out the package's setup program (its folder stays)")
    parser.add_argument("--driver-folders", metavar="LIST", default=",".join(DRIVER_FOLDERS),
                        help="driver folders to write, comma-separated, from %s "
                             "(default: all; an empty list writes none)"
                             % ", ".join(DRIVER_FOLDERS))
    parser.add_argument("--driver-beside-installer", action="store_true",
                        help="also write a driver package (QNAUDIO.INF, qnaudio.sys, Mixer.dat, "
                             "W2KSetup.dat) beside W2KSetup.exe, as a web set-up ships it")
    parser.add_argument("--package-folder", choices=PACKAGE_FOLDERS + ("none",),
                        default="W2K-ME",
                        help="where the package's app\\Setup.exe goes (default W2K-ME)")
    parser.add_argument("--no-dos", action="store_true", help="leave out Dosdrv\\")
    parser.add_argument("--driver-only", metavar="N", help="[InstallOption] DriverOnly")
    parser.add_argument("--web-setup", metavar="N", help="[InstallOption] WebSetup")
    parser.add_argument("--install-wdm-driver", metavar="N",
                        help="[InstallOption] InstallWDMDriver")
    parser.add_argument("--log-file", metavar="PATH",
                        help="[InstallOption] LogFile: the installer writes a log there (a "
                             "path without a drive is taken in the Windows directory)")
    parser.add_argument("--using-cdda", metavar="N", help="[Default] UsingCDDA")
    parser.add_argument("--no-setup-ini", action="store_true",
                        help="write no setup.ini at all")
    parser.add_argument("--hardware-id", default=HARDWARE_ID,
                        help="hardware ID of the INF's model (default %(default)s)")
    parser.add_argument("--read-only", action="store_true",
                        help="make the files read-only, as on a CD")
    parser.add_argument("--force", action="store_true",
                        help="write into DEST even when it is not empty "
                             "(files of the same name are replaced, others kept)")
    parser.add_argument("--quiet", action="store_true", help="do not list the files written")
    options = parser.parse_args(argv)

    folders = [f for f in options.driver_folders.split(",") if f]
    unknown = [f for f in folders if f not in DRIVER_FOLDERS]
    if unknown:
        parser.error("unknown driver folder(s): %s" % ", ".join(unknown))
    options.driver_folder_list = folders
    for name in ("installer", "programs", "media_setup", "mixer", "package_setup"):
        path = getattr(options, name)
        if path and not os.path.isfile(path):
            parser.error("--%s: no such file: %s" % (name.replace("_", "-"), path))
    return options


def write_driver_package(media, options, folder, where):
    """The driver package of `folder` (a key of FOLDER_DETAILS) into the media
    folder `where` ("" for the root, else with a trailing backslash)."""
    label = (where or "\\").encode("ascii")
    media.write(where + "QNAUDIO.INF", driver_inf(folder, options.hardware_id))
    media.write(where + "qnaudio.sys", b"MZ qnaudio.sys for the 5740 (%s)\r\n"
                % folder.encode("ascii"))
    mixer = program_for(options, options.mixer, options.no_mixer)
    if mixer:
        media.copy(where + "Mixer.dat", mixer, trailer=b"\0E2E-MEDIA-FOLDER:" + label + b"\0")
    if options.installer:
        media.copy(where + "W2KSetup.dat", options.installer)


def make_media(options):
    """Writes the tree; returns the relative paths written, in order."""
    if os.path.isdir(options.dest) and os.listdir(options.dest) and not options.force:
        raise SystemExit("make_media.py: %s is not empty (use --force to write into it)"
                         % options.dest)
    media = MediaWriter(options.dest, options.read_only)
    os.makedirs(media.root, exist_ok=True)

    if not options.no_setup_ini:
        ini = setup_ini(options)
        if ini is not None:
            media.write("setup.ini", ini)
    if options.installer:
        media.copy("W2KSetup.exe", options.installer)
    media_setup = program_for(options, options.media_setup, options.no_media_setup)
    if media_setup:
        media.copy("Setup.exe", media_setup)

    if not options.no_dos:
        for name, data in DOS_FILES.items():
            media.write("Dosdrv\\" + name, data)
        for name, data in DOSAPP_FILES.items():
            media.write("Dosdrv\\DOSAPP\\" + name, data)

    for folder in options.driver_folder_list:
        write_driver_package(media, options, folder, folder + "\\drv\\")
    if options.driver_beside_installer:
        write_driver_package(media, options, BESIDE_INSTALLER, "")

    if options.package_folder != "none":
        package_setup = program_for(options, options.package_setup, options.no_package)
        app = options.package_folder + "\\app\\"
        if package_setup:
            media.copy(app + "Setup.exe", package_setup)
        else:
            media.folder(app)
    return media.written


def main(argv=None):
    options = parse_arguments(sys.argv[1:] if argv is None else argv)
    written = make_media(options)
    if not options.quiet:
        for relative in written:
            print(relative)
    return 0


if __name__ == "__main__":
    sys.exit(main())
