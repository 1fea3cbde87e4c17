#!/usr/bin/env python3
"""`tools/w2kmedia try` on what cannot be tried: a folder that is not a
media, a file that is not a disc image, a Windows version that Wine cannot play, a device state Wine cannot
play, a display that cannot start (no answer on $DISPLAY, an Xvfb that
ends at once), a machine that cannot make a sandbox, and a media whose W2KSetup.exe is no program. Each gives a
clear one-line message and its exit status, writes no output folder for a
usage error, and leaves no Wine process behind. On a machine that runs no
32-bit programs, the media whose W2KSetup.exe is no program is refused as
any installer but this tree's own is: only its x86-64 twin could run there."""

import os
import stat
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from try_runs import expect_no_wine_left, run_try, try_media  # noqa: E402

UNUSED_DISPLAY = ":93"


def refused(case, run, words, what):
    case.expect_equal(run.exit_code, 2, "exit status for %s" % what)
    message = run.stderr.strip()
    case.expect(message.startswith("w2kmedia try: ") and len(message.splitlines()) == 1
                and "Traceback" not in message,
                "the message for %s is not one clear line: %r" % (what, message))
    for word in words:
        case.expect(word in message, "the message for %s does not say %r: %r"
                    % (what, word, message))
    case.expect(not os.path.exists(run.out), "%s made the output folder %s" % (what, run.out))
    expect_no_wine_left(case, run)


def failing_program(case, name, complaint):
    """The environment of a PATH whose program `name` says `complaint` and
    fails at once: an Xvfb without a usable screen, a bwrap on a system
    that allows no user namespaces."""
    folder = os.path.join(case.work, "failing-" + name)
    os.makedirs(folder)
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        f.write("#!/bin/sh\necho '%s' >&2\nexit 1\n" % complaint)
    os.chmod(path, stat.S_IRWXU)
    return {"PATH": folder + os.pathsep + os.environ["PATH"]}


def out_for(case, name):
    return os.path.join(case.artifacts, "try-" + name)


def try_bad_input(case):
    media = try_media(case, web_setup=0, no_package=True)
    not_media = os.path.join(case.work, "Documents")
    os.makedirs(not_media)
    with open(os.path.join(not_media, "Setup.exe"), "wb") as f:
        f.write(b"MZ")

    refused(case, run_try(case, not_media, out=out_for(case, "not-media")),
            ["is not an install media", "W2KSetup.exe"], "a folder without the installer")
    refused(case, run_try(case, os.path.join(media.unix, "W2KSetup.exe"),
                          out=out_for(case, "file")), ["is a file"], "a file")
    not_an_image = os.path.join(case.work, "Sound CD.iso")
    with open(not_an_image, "wb") as f:
        f.write(b"MZ" + bytes(40000))
    refused(case, run_try(case, not_an_image, out=out_for(case, "not-an-image")),
            ["cannot read the image", "no ISO 9660 image"], "a file that is not a disc image")
    refused(case, run_try(case, media.unix, "--windows", "3.1", out=out_for(case, "win31")),
            ["Windows 3.1 cannot be played", "95, 98, me, nt4, 2000 or xp"],
            "a Windows version Wine cannot play")
    refused(case, run_try(case, media.unix, "--device", "fails", out=out_for(case, "fails")),
            ["--device fails cannot be played", "plan"], "a device whose update fails")
    refused(case, run_try(case, media.unix, "--visible", out=out_for(case, "visible"),
                          env={"DISPLAY": UNUSED_DISPLAY}),
            ["the display cannot start", UNUSED_DISPLAY], "a display that does not answer")
    refused(case, run_try(case, media.unix, out=out_for(case, "xvfb"),
                          env=failing_program(case, "Xvfb", "Xvfb: cannot open the screen")),
            ["the display cannot start", "Xvfb"], "an Xvfb that ends at once")
    refused(case, run_try(case, media.unix, out=out_for(case, "no-sandbox"),
                          env=failing_program(case, "bwrap", "bwrap: No permissions to "
                                              "create new namespace")),
            ["No permissions to create new namespace", "install bubblewrap", "--no-sandbox"],
            "a machine that cannot make a sandbox")

    # A media whose installer is no Windows program: Wine runs, and still
    # nothing of it stays behind. Where the x86-64 twin must run, any
    # installer but this tree's own is refused before Wine runs.
    broken = os.path.join(case.work, "Broken CD")
    os.makedirs(broken)
    with open(os.path.join(broken, "W2KSetup.exe"), "wb") as f:
        f.write(b"This is not a program.\r\n")
    run = run_try(case, broken, out=out_for(case, "broken"))
    if case.way.is_twin:
        refused(case, run, ["D:\\W2KSetup.exe is not this tree's i686 build", "plan"],
                "an installer the twin cannot stand in for")
        return
    case.expect_equal(run.exit_code, 1, "exit status for an installer that is no program")
    case.expect("not a valid Windows program" in run.stderr,
                "the message does not say why the installer did not start: %r" % run.stderr)
    case.expect(run.report is not None and run.report["problems"]
                and run.report["route"] is None,
                "the report does not tell that the run stopped: %s"
                % (run.report and run.report["problems"]))
    expect_no_wine_left(case, run)


if __name__ == "__main__":
    run_case(try_bad_input, windows="winxp")
