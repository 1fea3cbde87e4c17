#!/usr/bin/env python3
"""Which way this machine runs the Windows programs: the one place that
decides it, for the dependency script, the build, the end-to-end ring and
`w2kmedia try`.

- The i686 way: the product, W2KSetup.exe of build/win32, runs under Wine's
  32-bit loader in a 32-bit prefix, as it runs on Windows 95 to XP.
- The x86-64 way: on a machine that runs no 32-bit programs (a kernel
  without IA-32 emulation refuses to start them), the x86-64 twin of the
  same tree, build/win64, runs under wine64 in a 64-bit prefix. The twin is
  a test vehicle; it is never shipped.

The machine is asked, never assumed: a tiny i386 Linux program is started,
and the i686 way is taken when it runs. SETUP_FORCE_WINE64=1 forces the
x86-64 way on a machine that could take the other, so that both ways can be
tried wherever the machine allows it.

    python3 tools/wine_machine/host.py             prints i686 or x86-64
    python3 tools/wine_machine/host.py --describe  one line: the way and why
"""

import os
import stat
import struct
import subprocess
import sys
import tempfile

FORCE_VARIABLE = "SETUP_FORCE_WINE64"
WINE_FOLDER = "/usr/lib/wine"


def _i386_exit_program(code):
    """A complete i386 Linux program (ELF, one loadable segment) that
    exits with `code`: mov eax, 1; mov ebx, code; int 0x80."""
    machine_code = bytes([0xB8, 1, 0, 0, 0, 0xBB, code, 0, 0, 0, 0xCD, 0x80])
    base, header_size, segment_header_size = 0x08048000, 52, 32
    entry = base + header_size + segment_header_size
    header = b"\x7fELF" + bytes([1, 1, 1]) + bytes(9)
    header += struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, entry, header_size, 0, 0, header_size,
                          segment_header_size, 1, 0, 0, 0)
    size = header_size + segment_header_size + len(machine_code)
    segment = struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
    return header + segment + machine_code


def runs_32bit_programs():
    """(True or False, what the kernel answered) for an i386 program."""
    expected = 42
    with tempfile.TemporaryDirectory(prefix="i386-probe-") as folder:
        path = os.path.join(folder, "probe")
        with open(path, "wb") as f:
            f.write(_i386_exit_program(expected))
        os.chmod(path, stat.S_IRWXU)
        try:
            code = subprocess.run([path], timeout=10).returncode
        except OSError as error:
            return False, "an i386 program does not start: %s" % (error.strerror or error)
        except subprocess.TimeoutExpired:
            return False, "an i386 program did not end within 10 s"
    if code != expected:
        return False, "an i386 program ended with %s instead of %d" % (code, expected)
    return True, "an i386 program runs"


class Way:
    """How the Windows programs run here: Wine's loader and server for
    them, the kind of prefix, and which build they come from."""

    def __init__(self, name, loader, server, arch, reason, runs_32bit=None):
        self.name = name
        self.loader = loader
        self.server = server
        self.arch = arch
        self.reason = reason
        # Whether 32-bit programs start at all here (the x86-64 way can be
        # forced on a machine where they do).
        self.runs_32bit = (name == "i686") if runs_32bit is None else runs_32bit

    @property
    def is_twin(self):
        return self.name == "x86-64"

    def windows_build(self, win32_build, win64_build):
        """Of the product's build and the twin's, the one that runs here."""
        return win64_build if self.is_twin else win32_build

    def environment(self):
        """What every Wine process of this way gets: the prefix kind, and the
        loader that Wine starts its new processes with."""
        return {"WINEARCH": self.arch, "WINELOADER": self.loader}

    def describe(self):
        if self.is_twin:
            return ("the x86-64 twin of this tree (build/win64) under wine64 (%s) in a "
                    "64-bit prefix: %s" % (self.loader, self.reason))
        return ("the i686 product (build/win32) under Wine's 32-bit loader (%s) in a "
                "32-bit prefix: %s" % (self.loader, self.reason))


# Debian's `wine` takes the 32-bit loader whenever it is installed, even
# where it cannot run: each way names its loader itself. The server script
# picks the wineserver that is installed; either serves both kinds.
SERVER = WINE_FOLDER + "/wineserver"
I686 = ("i686", WINE_FOLDER + "/wine", SERVER, "win32")
X86_64 = ("x86-64", WINE_FOLDER + "/wine64", SERVER, "win64")


def way(environment=None):
    """The way this machine takes (asked anew on every call; it is quick)."""
    environment = os.environ if environment is None else environment
    runs, answer = runs_32bit_programs()
    if environment.get(FORCE_VARIABLE, "") not in ("", "0"):
        return Way(*X86_64, runs_32bit=runs,
                   reason="%s is set, so the x86-64 way is taken although this machine %s "
                          "32-bit programs" % (FORCE_VARIABLE, "runs" if runs else "runs no"))
    if runs:
        return Way(*I686, reason="this machine runs 32-bit programs (%s)" % answer)
    return Way(*X86_64, reason="this machine runs no 32-bit programs (%s)" % answer)


def main(argv):
    chosen = way()
    print(chosen.describe() if argv[1:] == ["--describe"] else chosen.name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
