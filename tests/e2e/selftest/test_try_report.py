"""The pictures of `w2kmedia try`: each whole-screen picture is cropped to
the window its snapshot record names, also a window partly off the screen."""

import os
import shutil
import subprocess
import tempfile
import unittest

from wine_machine import records
from media_try import report


def picture_size(path):
    result = subprocess.run(["identify", "-format", "%w %h", path],
                            capture_output=True, text=True, check=True, timeout=60)
    return tuple(int(n) for n in result.stdout.split())


class PlaceScreenshotsTest(unittest.TestCase):
    def setUp(self):
        self.out = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.out)
        subprocess.run(["convert", "-size", "800x600", "xc:white",
                        os.path.join(self.out, "01-dialog-1.png")], check=True, timeout=60)

    def place(self, left, top, right, bottom):
        found = records.parse("@record snapshot\nname=dialog-1\nleft=%d\ntop=%d\nright=%d\n"
                              "bottom=%d\n@end\n" % (left, top, right, bottom))
        return report.place_screenshots(self.out, found)["dialog-1"]

    def test_a_window_on_the_screen_is_cut_out(self):
        shot = self.place(100, 50, 420, 290)
        self.assertEqual(shot["file"], os.path.join("screens", "01-dialog-1.png"))
        self.assertEqual(shot["full"], os.path.join("screens", "full", "01-dialog-1.png"))
        self.assertEqual((shot["width"], shot["height"]), (320, 240))
        self.assertEqual(picture_size(os.path.join(self.out, shot["file"])), (320, 240))

    def test_a_window_beyond_the_top_left_corner_keeps_its_visible_part(self):
        # A maximized frame starts a few pixels left of and above the screen.
        shot = self.place(-4, -10, 300, 200)
        self.assertEqual(shot["file"], os.path.join("screens", "01-dialog-1.png"))
        self.assertEqual((shot["width"], shot["height"]), (300, 200))
        self.assertEqual(picture_size(os.path.join(self.out, shot["file"])), (300, 200))

    def test_a_window_wholly_off_the_screen_keeps_the_whole_screen(self):
        shot = self.place(-400, -300, -10, -10)
        self.assertEqual(shot["file"], shot["full"])
        self.assertIsNone(shot["width"])


if __name__ == "__main__":
    unittest.main()
