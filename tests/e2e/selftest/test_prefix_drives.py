"""Paths between Unix and the drives of a prefix, a mapped media drive D: included."""

import os
import shutil
import tempfile
import unittest

from wine_machine import host, wine


class PrefixDrivesTest(unittest.TestCase):
    def setUp(self):
        self.top = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.top)
        prefix = os.path.join(self.top, "prefix")
        os.makedirs(os.path.join(prefix, "dosdevices"))
        os.makedirs(os.path.join(prefix, "drive_c", "Windows"))
        os.symlink("../drive_c", os.path.join(prefix, "dosdevices", "c:"))
        os.symlink("/", os.path.join(prefix, "dosdevices", "z:"))
        self.media = os.path.join(self.top, "Audio CD")
        os.makedirs(os.path.join(self.media, "WinXP"))
        self.prefix = wine.Prefix(prefix, {}, host.Way(*host.I686, reason="a test"))

    def test_a_mapped_media_is_its_own_drive(self):
        self.prefix.map_drive("D:", self.media)
        self.assertEqual(self.prefix.windows_path(os.path.join(self.media, "WinXP")), "D:\\WinXP")
        self.assertEqual(self.prefix.windows_path(self.media), "D:\\")
        self.assertEqual(self.prefix.unix_path("d:\\winxp\\drv"),
                         os.path.join(self.media, "WinXP", "drv"))

    def test_drive_c_before_z_and_z_for_the_rest(self):
        self.assertEqual(self.prefix.windows_path(os.path.join(self.prefix.drive_c, "Windows")),
                         "C:\\Windows")
        self.assertEqual(self.prefix.windows_path(self.media),
                         "Z:" + self.media.replace("/", "\\"))
        self.assertEqual(self.prefix.unix_path("C:\\WINDOWS\\inf"),
                         os.path.join(self.prefix.drive_c, "Windows", "inf"))

    def test_mapping_again_replaces_the_drive_and_a_missing_one_is_refused(self):
        self.prefix.map_drive("D:", self.top)
        self.prefix.map_drive("D:", self.media)
        self.assertEqual(self.prefix.drives()["D:"], self.media)
        with self.assertRaises(wine.WineError):
            self.prefix.unix_path("E:\\setup.exe")


if __name__ == "__main__":
    unittest.main()
