"""The sample media generator: layout, setup.ini and the driver INF."""

import contextlib
import importlib.util
import io
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
module_source = importlib.util.spec_from_file_location(
    "make_media", os.path.join(HERE, "..", "..", "..", "tools", "make_media.py"))
make_media = importlib.util.module_from_spec(module_source)
module_source.loader.exec_module(make_media)


class MakeMediaTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.program = os.path.join(self.folder.name, "stand-in.exe")
        with open(self.program, "wb") as f:
            f.write(b"MZ stand-in")
        self.dest = os.path.join(self.folder.name, "media")

    def make(self, *args):
        with contextlib.redirect_stdout(io.StringIO()) as out:
            make_media.main([self.dest, "--installer", self.program, "--programs",
                             self.program] + list(args))
        return out.getvalue().split()

    def read(self, relative):
        with open(os.path.join(self.dest, *relative.split("\\")), "rb") as f:
            return f.read()

    def test_full_layout(self):
        written = self.make()
        for path in ("W2KSetup.exe", "Setup.exe", "Dosdrv\\QNINIT.EXE",
                     "Dosdrv\\DOSAPP\\QNPLAY.EXE", "WinXP\\drv\\QNAUDIO.INF",
                     "W2K-ME\\drv\\Mixer.dat", "WIN_ME\\drv\\W2KSetup.dat",
                     "W2K-ME\\app\\Setup.exe"):
            self.assertIn(path, written)
        self.assertNotIn("setup.ini", written)
        self.assertEqual(self.read("WIN_ME\\drv\\W2KSetup.dat"), b"MZ stand-in")
        self.assertTrue(self.read("WinXP\\drv\\Mixer.dat").startswith(b"MZ stand-in\0"))
        self.assertIn(b"E2E-MEDIA-FOLDER:WinXP\\drv\\", self.read("WinXP\\drv\\Mixer.dat"))

    def test_inf_has_the_option_lines_at_the_start_of_crlf_lines(self):
        self.make("--driver-folders", "WinXP")
        inf = self.read("WinXP\\drv\\QNAUDIO.INF")
        self.assertNotIn(b"\n", inf.replace(b"\r\n", b""))
        lines = inf.split(b"\r\n")
        legacy = b'HKR,"Settings","EnableLegacy",    0x00010001,0x03,0,0,0'
        jack = b'HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0'
        self.assertEqual([l for l in lines if l.startswith(b'HKR,"Settings"')], [legacy, jack])
        self.assertEqual((len(legacy), legacy[48:49], jack[48:49]), (55, b"3", b"5"))
        self.assertIn(b"=QNAUDIO, PCI\\VEN_7E2D&DEV_0111", inf)
        self.assertIn(b"Class=MEDIA", inf)
        self.assertIn(b"[Strings]", inf)

    def test_setup_ini_holds_only_the_keys_given(self):
        self.make("--web-setup", "1", "--install-wdm-driver", "0", "--using-cdda", "5")
        self.assertEqual(self.read("setup.ini"),
                         b"[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=0\r\n\r\n"
                         b"[Default]\r\nUsingCDDA=5\r\n")

    def test_setup_ini_can_ask_for_a_log(self):
        self.make("--driver-only", "1", "--log-file", "C:\\logs\\w2ksetup.log")
        self.assertEqual(self.read("setup.ini"),
                         b"[InstallOption]\r\nDriverOnly=1\r\nLogFile=C:\\logs\\w2ksetup.log\r\n")

    def test_folders_and_programs_can_be_left_out(self):
        written = self.make("--driver-folders", "WIN_ME", "--package-folder", "WIN_ME",
                            "--no-package", "--no-media-setup", "--no-mixer", "--no-dos")
        self.assertEqual(sorted(written), sorted([
            "W2KSetup.exe", "WIN_ME\\drv\\QNAUDIO.INF", "WIN_ME\\drv\\W2KSetup.dat",
            "WIN_ME\\drv\\qnaudio.sys"]))
        self.assertTrue(os.path.isdir(os.path.join(self.dest, "WIN_ME", "app")))
        self.assertFalse(os.path.exists(os.path.join(self.dest, "W2K-ME")))

    def test_a_driver_package_beside_the_installer(self):
        written = self.make("--driver-beside-installer", "--driver-folders", "WinXP")
        for name in ("QNAUDIO.INF", "qnaudio.sys", "Mixer.dat", "W2KSetup.dat"):
            self.assertIn(name, written)
            self.assertIn("WinXP\\drv\\" + name, written)
        inf = self.read("QNAUDIO.INF")
        self.assertIn(b"; Driver package: beside the installer\r\n", inf)
        self.assertIn(b"DriverVer=06/14/2004,5.12.4.5740\r\n", inf)
        self.assertIn(b'HKR,"Settings","JackConfig",      0x00010001,0x05,0,0,0\r\n', inf)
        self.assertNotEqual(inf, self.read("WinXP\\drv\\QNAUDIO.INF"))
        self.assertTrue(self.read("Mixer.dat").endswith(b"\0E2E-MEDIA-FOLDER:\\\0"))
        self.assertEqual(self.read("W2KSetup.dat"), b"MZ stand-in")

    def test_read_only_media(self):
        self.make("--read-only", "--driver-folders", "WinXP")
        mode = os.stat(os.path.join(self.dest, "WinXP", "drv", "QNAUDIO.INF")).st_mode
        self.assertEqual(mode & 0o222, 0)

    def test_a_folder_that_is_not_empty_is_refused_without_force(self):
        os.makedirs(self.dest)
        with open(os.path.join(self.dest, "keep.txt"), "w") as f:
            f.write("mine")
        with self.assertRaises(SystemExit):
            self.make()
        self.make("--force")
        self.assertEqual(self.read("keep.txt"), b"mine")

    def test_nothing_is_written_outside_the_folder(self):
        writer = make_media.MediaWriter(self.dest, False)
        with self.assertRaises(ValueError):
            writer.write("..\\outside.txt", b"x")
        self.assertFalse(os.path.exists(os.path.join(self.folder.name, "outside.txt")))


if __name__ == "__main__":
    unittest.main()
