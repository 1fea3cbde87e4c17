"""The x86-64 twin in place of the media's installer, on a machine that runs
no 32-bit programs.

There the media's own W2KSetup.exe cannot start. When it, and every copy of
it the media holds as W2KSetup.dat, is this tree's i686 build byte for byte,
the twin of that build (the same tree, built for x86-64) runs in its place:
drive D: is then a view of the media in which those files are the twin and
every other file is the media's own. The copy the installer stages from a
W2KSetup.dat is the twin too, so the restart's run from the Run key is the
twin as well. Any other W2KSetup.exe is refused: what it would do is not
known, and `plan` shows its run on the simulated Windows."""

import hashlib
import ntpath
import os
import shutil

from wine_machine.wine import WineError

INSTALLER_NAMES = ("w2ksetup.exe", "w2ksetup.dat")


def _read(path):
    with open(path, "rb") as f:
        return f.read()


def installer_files(media, installer_name):
    """The media's installer and every W2KSetup.dat below it (any case), as
    paths relative to the media."""
    found = [installer_name]
    for folder, dirs, names in os.walk(media):
        dirs.sort()
        for name in sorted(names):
            if name.lower() == INSTALLER_NAMES[1]:
                found.append(os.path.relpath(os.path.join(folder, name), media))
    return found


def drive_path(relative):
    return "D:\\" + relative.replace(os.sep, "\\")


def foreign_installer(media, relatives, product):
    """The first of the media's installer files that is not the product's
    bytes, or None."""
    expected = _read(product)
    for relative in relatives:
        if _read(os.path.join(media, relative)) != expected:
            return relative
    return None


def make_view(media, view, replaced, twin):
    """A folder that shows the media with the files of `replaced` (relative
    paths) as copies of the twin: folders are made anew, every other file
    is a link to the media's own, so nothing of the media is copied or
    changed."""
    replaced = {os.path.normcase(r) for r in replaced}
    for folder, dirs, names in os.walk(media):
        relative = os.path.relpath(folder, media)
        os.makedirs(os.path.join(view, relative), exist_ok=True)
        for name in names:
            path = os.path.normpath(os.path.join(relative, name))
            if os.path.normcase(path) in replaced:
                shutil.copyfile(twin, os.path.join(view, path))
                shutil.copymode(os.path.join(media, path), os.path.join(view, path))
            else:
                os.symlink(os.path.join(folder, name), os.path.join(view, path))


def _file_json(path):
    data = _read(path)
    return {"size": len(data), "sha256": hashlib.sha256(data).hexdigest()}


def build_json(options):
    """Which build ran, and why, for the report."""
    way = options.way
    if not options.replaced:
        return {"way": way.name, "twin": False, "replaced": [],
                "summary": "the media's own installer (i686), under Wine's 32-bit loader",
                "text": "The media's own %s ran under Wine's 32-bit loader: %s."
                        % (drive_path(options.installer_name), way.reason)}
    replaced = [drive_path(r) for r in options.replaced]
    return {"way": way.name, "twin": True, "replaced": replaced,
            "summary": "the x86-64 twin of this tree in place of the media's installer, "
                       "under wine64 (see below)",
            "product_file": _file_json(options.product),
            "twin_file": _file_json(options.twin_installer),
            "text": "The x86-64 build of this tree ran, not the media's own 32-bit installer, "
                    "because %s. %s %s this tree's i686 build byte for byte; its x86-64 twin "
                    "(the same source, built for x86-64) ran in %s place under wine64, after "
                    "the restart too." % (way.reason, ", ".join(replaced),
                                          "is" if len(replaced) == 1 else "are",
                                          "its" if len(replaced) == 1 else "their")}


I386_MACHINE = 0x14C


def is_32bit_program(path):
    """Whether a file is a 32-bit x86 Windows program (its PE header says
    so); False for anything unreadable or else."""
    try:
        with open(path, "rb") as f:
            head = f.read(4096)
    except OSError:
        return False
    if len(head) < 64 or head[:2] != b"MZ":
        return False
    at = int.from_bytes(head[60:64], "little")
    return head[at:at + 4] == b"PE\0\0" and int.from_bytes(head[at + 4:at + 6], "little") == I386_MACHINE


def program_of(command_line, current_dir):
    """The program a command line starts, as a Windows path: the quoted
    first word, or the first word, taken in `current_dir` when relative."""
    text = command_line.strip()
    if text.startswith('"'):
        program = text[1:].split('"', 1)[0]
    else:
        program = text.split()[0] if text else ""
    if program and not ntpath.isabs(program) and current_dir:
        program = ntpath.join(current_dir, program)
    return program


def mark_unstartable(runs, prefix, way):
    """On a machine that runs no 32-bit programs, each start of a 32-bit
    program (a hand-over Setup.exe, the package's setup program, a mixer)
    says that it cannot start there. Wine reports such a start as done and
    the program as ended at once, so the failure is the machine's, not the
    installer's."""
    if way.runs_32bit:
        return
    for run in runs:
        for event in run.events:
            if event["kind"] != "start":
                continue
            program = program_of(event["command_line"], event.get("current_dir"))
            try:
                path = prefix.unix_path(program)
            except WineError:
                continue  # not on a drive of the prefix
            if is_32bit_program(path):
                event["cannot_start"] = ("%s is a 32-bit program, and this machine runs no "
                                         "32-bit programs" % program)
