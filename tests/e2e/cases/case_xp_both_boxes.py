#!/usr/bin/env python3
"""Windows XP, no command line, "WebSetup" = 0, the media in a folder whose
name holds blanks, with the application package: the user leaves both boxes
checked and presses OK. Only the applications are installed in this run:
"QNISETUP.INI" asks the package's setup program to have the driver installed
by the media's Setup.exe; the package's Setup.exe starts (its path quoted) in
the media's "W2K-ME" folder; no notice, no staging, no Run value, no restart
prompt."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import RUN_KEY, run_case  # noqa: E402
from wine_machine.installer import MAIN_DIALOG, MIXER_RUN_VALUE, QUARNEL, WINDOWS  # noqa: E402
from harness.installer import quoted  # noqa: E402


def xp_both_boxes(case):
    media = case.make_media(on="blank", web_setup=0)
    watcher = case.start_user("watch W2KSetup.exe 30000")
    case.wait_for_record("watch-begin")
    installer = case.start_installer(media)
    case.user('''
        window %s 20000
        expect 1001 checked visible
        expect 1002 checked visible
        ok
        gone 10000
    ''' % quoted(MAIN_DIALOG))
    installer.expect_exit(0, timeout=20)
    watcher.expect_exit(0, timeout=10)
    package = case.wait_for_record("start", program="Setup.exe", timeout=5)

    case.expect_equal(package["cmdline"], '"%s"' % media.path("W2K-ME\\app\\Setup.exe"),
                      "the package setup's command line")
    case.expect_equal(package["cwd"], media.path("W2K-ME"), "the package setup's current directory")
    case.expect_equal((package["startup_flags"], package["show_window"]), ("1", "5"),
                      "the package setup's STARTF_USESHOWWINDOW and SW_SHOW")
    case.expect_equal(len(case.records("start")), 1, "programs started")
    case.expect_equal([r["title"] for r in case.records("window-seen")], [MAIN_DIALOG],
                      "windows the installer showed")

    handshake = case.read_file(WINDOWS + "QNISETUP.INI") or b""
    case.expect_equal(case.read_ini(WINDOWS + "QNISETUP.INI"), {
        "need_to_reboot": {"install": "NO"},
        "need_to_installdriver": {"install": "YES", "command": media.path("Setup.exe")}},
        "QNISETUP.INI")
    for section in (b"[Need_To_Reboot]", b"[Need_To_InstallDriver]"):
        case.expect(section in handshake, "QNISETUP.INI lacks %s: %r" % (section, handshake))

    case.expect(not case.exists(QUARNEL), QUARNEL + " exists: a driver was staged")
    case.expect(case.reg_value(RUN_KEY, MIXER_RUN_VALUE) is None,
                "the Run value \"%s\" was written" % MIXER_RUN_VALUE)
    case.expect(not case.exists(WINDOWS + "Mixer.dat"), "Mixer.dat was placed")


if __name__ == "__main__":
    run_case(xp_both_boxes, windows="winxp")
