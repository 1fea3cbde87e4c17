#!/usr/bin/env python3
"""Runs a Win32 check program under Wine, from the Windows build that runs on
this machine (the product's, or the x86-64 twin's where 32-bit programs
cannot run), in a prefix of its own per way (made on the first run), and
ends that prefix's wineserver afterwards. Exits with the program's code.

    run_under_wine.py PREFIX WIN32_BUILD WIN64_BUILD PROGRAM.exe [ARGUMENTS...]
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from wine_machine import host, wine  # noqa: E402


def main(argv):
    prefix, win32_build, win64_build, program = argv[:4]
    way = host.way()
    prefix = os.path.abspath("%s-%s" % (prefix, way.name))
    environment = wine.environment(way, prefix)
    print("running %s of %s" % (program, way.describe()))
    if not os.path.isfile(os.path.join(prefix, "system.reg")):
        subprocess.run([way.loader, "wineboot", "-i"], env=environment,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        build = way.windows_build(win32_build, win64_build)
        return subprocess.run([way.loader, os.path.join(build, program)] + argv[4:],
                              env=environment).returncode
    finally:
        subprocess.run([way.server, "-k"], env=environment, stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
