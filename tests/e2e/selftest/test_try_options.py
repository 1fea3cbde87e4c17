"""The command line of `w2kmedia try`: every mistake is told before anything
runs, and the answers reach the responder's settings as given."""

import os
import shutil
import tempfile
import unittest
from unittest import mock

from media_try import options
from wine_machine import host


def on_way(test, name):
    """Lets the options see the machine take this way, whatever it is."""
    chosen = host.Way(*(host.X86_64 if name == "x86-64" else host.I686), reason="a test")
    patcher = mock.patch.object(options.host, "way", return_value=chosen)
    patcher.start()
    test.addCleanup(patcher.stop)


class TryOptionsTest(unittest.TestCase):
    def setUp(self):
        on_way(self, "i686")
        self.top = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.top)
        self.media = os.path.join(self.top, "Sound CD")
        os.makedirs(self.media)
        open(os.path.join(self.media, "W2KSETUP.EXE"), "wb").close()
        self.out = os.path.join(self.top, "out")

    def parse(self, *argv):
        return options.parse([self.media, "--out", self.out] + list(argv))

    def refused(self, argv, *words):
        with self.assertRaises(options.UsageError) as raised:
            options.parse(argv)
        for word in words:
            self.assertIn(word, str(raised.exception))

    def test_defaults_and_the_installer_in_any_case(self):
        parsed = self.parse()
        self.assertEqual((parsed.windows, parsed.wine_version, parsed.device, parsed.args),
                         ("xp", "winxp", "present", ""))
        self.assertEqual(parsed.installer_name, "W2KSETUP.EXE")
        self.assertEqual(parsed.media, os.path.realpath(self.media))

    def test_the_default_output_folder_is_named_after_the_media(self):
        parsed = options.parse([self.media])
        self.assertEqual(parsed.out, os.path.join(options.REPO, "build", "try", "Sound_CD"))

    def test_what_is_not_a_media(self):
        self.refused([os.path.join(self.top, "nowhere")], "does not exist")
        self.refused([os.path.join(self.media, "W2KSETUP.EXE")], "is a file")
        self.refused([self.top], "is not an install media", "W2KSetup.exe")

    def test_versions_wine_cannot_play(self):
        self.refused([self.media, "--windows", "3.1"], "Windows 3.1 cannot be played",
                     "95, 98, me, nt4, 2000 or xp")
        self.assertEqual(self.parse("--windows", "NT4").wine_version, "nt40")

    def test_a_device_wine_cannot_play_is_refused_with_the_reason(self):
        self.refused([self.media, "--device", "fails"], "cannot be told to fail", "plan")
        self.refused([self.media, "--device", "reboot"], "cannot be told to ask for a restart")
        self.assertEqual(self.parse("--device", "absent").device, "absent")

    def test_an_output_folder_with_other_files_is_left_alone(self):
        os.makedirs(self.out)
        open(os.path.join(self.out, "notes.txt"), "w").close()
        self.refused([self.media, "--out", self.out], "holds other files")
        open(os.path.join(self.out, options.OUTPUT_MARK), "w").close()
        self.assertEqual(self.parse().out, os.path.realpath(self.out))

    def test_the_output_folder_and_the_media_must_not_hold_one_another(self):
        self.refused([self.media, "--out", os.path.join(self.media, "report")], "must not hold")
        self.refused([self.media, "--out", self.top], "must not hold")

    def test_arguments_that_start_with_a_dash_belong_to_the_installer(self):
        self.assertEqual(self.parse("--args", "-ReplaceMixer").args, "-ReplaceMixer")
        self.assertEqual(self.parse("--args", "/AP ").args, "/AP ")

    def test_unknown_values_are_usage_errors(self):
        self.refused([self.media, "--jack", "front"], "invalid choice")
        self.refused([self.media, "--lang", "Chinese"], "not a locale")
        self.assertEqual(self.parse("--lang", "zh_TW").lang, "zh_TW.UTF-8")

    def test_the_answers_reach_the_responder_in_order(self):
        parsed = self.parse("--apps", "no", "--board", "soundcard", "--jack", "micsub",
                            "--jack", "rear", "--legacy", "--restart", "no", "--cancel")
        settings = dict(line.split("=", 1) for line in options.responder_settings(
            parsed, '"D:\\W2KSetup.exe" /x', "D:\\", "Z:\\stop").splitlines())
        self.assertEqual(settings, {
            "command": '"D:\\W2KSetup.exe" /x', "directory": "D:\\",
            "installer": "w2ksetup.exe", "apps": "0", "driver": "1", "cancel": "1",
            "soundcard": "1", "jacks": "1013,1011", "legacy": "1", "restart": "0",
            "stop": "Z:\\stop"})


if __name__ == "__main__":
    unittest.main()
