"""`w2kmedia try` where the machine runs no 32-bit programs: the twin stands
in only for this tree's own installer, in every copy the media holds, and
the media itself is left as it is."""

import os
import shutil
import struct
import tempfile
import types
import unittest

from media_try import options, twin
from selftest.test_try_options import on_way
from wine_machine import host, wine

PRODUCT = b"MZ the i686 build"
TWIN = b"MZ the x86-64 twin"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


class TwinTest(unittest.TestCase):
    def setUp(self):
        on_way(self, "x86-64")
        self.top = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.top)
        self.builds = [os.path.join(self.top, "win32"), os.path.join(self.top, "win64")]
        write(os.path.join(self.builds[0], "W2KSetup.exe"), PRODUCT)
        write(os.path.join(self.builds[1], "W2KSetup.exe"), TWIN)
        self.media = os.path.join(self.top, "Sound CD")
        write(os.path.join(self.media, "W2KSETUP.EXE"), PRODUCT)
        write(os.path.join(self.media, "WinXP", "drv", "w2ksetup.DAT"), PRODUCT)
        write(os.path.join(self.media, "WinXP", "drv", "Mixer.dat"), b"MZ a mixer")

    def parse(self):
        return options.parse([self.media, "--out", os.path.join(self.top, "out"),
                              "--win32-build", self.builds[0], "--win64-build", self.builds[1]])

    def test_the_twin_stands_in_for_the_installer_and_each_copy(self):
        parsed = self.parse()
        self.assertEqual(parsed.windows_build, self.builds[1])
        self.assertEqual(parsed.replaced, ["W2KSETUP.EXE", os.path.join("WinXP", "drv",
                                                                        "w2ksetup.DAT")])
        view = os.path.join(self.top, "view")
        twin.make_view(self.media, view, parsed.replaced, os.path.join(self.builds[1],
                                                                       "W2KSetup.exe"))
        shown = {}
        for folder, _, names in os.walk(view):
            for name in names:
                with open(os.path.join(folder, name), "rb") as f:
                    shown[os.path.relpath(os.path.join(folder, name), view)] = f.read()
        self.assertEqual(shown, {"W2KSETUP.EXE": TWIN, "WinXP/drv/w2ksetup.DAT": TWIN,
                                 "WinXP/drv/Mixer.dat": b"MZ a mixer"})
        with open(os.path.join(self.media, "W2KSETUP.EXE"), "rb") as f:
            self.assertEqual(f.read(), PRODUCT)
        self.assertIn("x86-64 build of this tree ran", twin.build_json(parsed)["text"])

    def test_any_other_installer_is_refused_with_the_way_to_plan(self):
        write(os.path.join(self.media, "WinXP", "drv", "w2ksetup.DAT"), PRODUCT + b" patched")
        with self.assertRaises(options.UsageError) as raised:
            self.parse()
        message = str(raised.exception)
        self.assertIn("D:\\WinXP\\drv\\w2ksetup.DAT is not this tree's i686 build", message)
        self.assertIn("`tools/w2kmedia plan '%s'`" % os.path.realpath(self.media), message)
        self.assertNotIn("\n", message)


def program(machine):
    return b"MZ" + bytes(58) + struct.pack("<I", 64) + b"PE\0\0" + struct.pack("<H", machine)


class UnstartableTest(unittest.TestCase):
    """The media's other programs that a machine without 32-bit programs
    cannot start are told at their start."""

    def setUp(self):
        self.top = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.top)
        prefix = os.path.join(self.top, "prefix")
        os.makedirs(os.path.join(prefix, "dosdevices"))
        media = os.path.join(self.top, "media")
        write(os.path.join(media, "Setup.exe"), program(0x14C))
        write(os.path.join(media, "Apps", "Setup64.exe"), program(0x8664))
        write(os.path.join(media, "ReadMe.exe"), b"MZ but no PE header")
        self.prefix = wine.Prefix(prefix, {}, host.Way(*host.X86_64, reason="a test"))
        self.prefix.map_drive("D:", media)

    def marked(self, runs_32bit):
        starts = [{"kind": "start", "command_line": '"D:\\Setup.exe" /x', "current_dir": None},
                  {"kind": "start", "command_line": "Setup.exe", "current_dir": "D:\\"},
                  {"kind": "start", "command_line": "D:\\Apps\\Setup64.exe", "current_dir": None},
                  {"kind": "start", "command_line": "D:\\ReadMe.exe", "current_dir": None},
                  {"kind": "start", "command_line": "Q:\\Gone.exe", "current_dir": None},
                  {"kind": "message", "text": "Setup.exe"}]
        way = host.Way(*host.X86_64, reason="a test", runs_32bit=runs_32bit)
        twin.mark_unstartable([types.SimpleNamespace(events=starts)], self.prefix, way)
        return [e.get("cannot_start") for e in starts]

    def test_only_32bit_programs_on_a_machine_that_runs_none(self):
        self.assertEqual(self.marked(False), [
            "D:\\Setup.exe is a 32-bit program, and this machine runs no 32-bit programs",
            "D:\\Setup.exe is a 32-bit program, and this machine runs no 32-bit programs",
            None, None, None, None])
        self.assertEqual(self.marked(True), [None] * 6)


if __name__ == "__main__":
    unittest.main()
