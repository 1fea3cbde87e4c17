#!/usr/bin/env python3
"""Windows XP, command line "/AP", with a previous package whose uninstall
command is a REG_EXPAND_SZ naming its program through %SystemRoot%: the
uninstaller starts with the command expanded and " -a" after it, and the
package's setup program follows once it has ended."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from wine_machine.installer import WINDOWS  # noqa: E402
from wine_machine.registry import REG_EXPAND_SZ  # noqa: E402

UNINSTALL_KEY = ("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "PCI Audio Applications")


def xp_expandable_uninstall_command(case):
    media = case.make_media(web_setup=0)
    case.put_file(WINDOWS + "IsUninst.exe", source=case.helper("recorder"))
    case.reg_set(UNINSTALL_KEY, "UninstallString",
                 "%SystemRoot%\\IsUninst.exe -f\"%ProgramFiles%\\Quarnel\\Uninst.isu\"",
                 type=REG_EXPAND_SZ)

    case.run_installer(media, "/AP", timeout=30).expect_exit(0)

    uninstaller = case.wait_for_record("start", program="IsUninst.exe", timeout=5)
    case.expect_equal(uninstaller["cmdline"],
                      "C:\\windows\\IsUninst.exe -f\"C:\\Program Files\\Quarnel\\Uninst.isu\" -a",
                      "the uninstaller's command line")
    package = case.wait_for_record("start", program="Setup.exe", timeout=5)
    case.expect(int(package["tick"]) >= int(case.records("exit", program="IsUninst.exe")[0]["tick"]),
                "the package's setup program started before the uninstaller ended")


if __name__ == "__main__":
    run_case(xp_expandable_uninstall_command, windows="winxp")
