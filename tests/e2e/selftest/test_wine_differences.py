"""The one list of the known differences between a run under Wine and the
same run on the simulated Windows: each explains what it is about, and
nothing beside it."""

import unittest

from wine_machine import wine_differences
from wine_machine.installer import MEDIA_CLASS_KEY


def explained(kind, item):
    difference = wine_differences.explain(kind, item)
    return difference.name if difference else None


class KnownDifferencesTest(unittest.TestCase):
    def test_files(self):
        self.assertEqual(explained("file", {"path": "C:\\windows\\inf\\QNAUDIO.INF"}),
                         "oem-inf-name")
        self.assertEqual(explained("file", {"path": "C:\\windows\\inf\\QNAUDIO.pnf"}),
                         "oem-inf-name")
        self.assertIsNone(explained("file", {"path": "C:\\windows\\inf\\oem7.inf"}),
                          "an oemN.inf is named as Windows names it")
        self.assertIsNone(explained("file", {"path": "C:\\windows\\inf\\sub\\QNAUDIO.INF"}))
        self.assertEqual(explained("file", {"path": "C:\\windows\\system32\\drivers\\qnaudio.sys"}),
                         "device-installer-files")
        self.assertIsNone(explained("file", {"path": "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF"}),
                          "the staged files are the installer's own work")

    def test_registry(self):
        self.assertEqual(explained("value", {"key": MEDIA_CLASS_KEY + "\\0000\\Settings"}),
                         "driver-key")
        self.assertIsNone(explained("value", {"key": MEDIA_CLASS_KEY + "X\\0000"}))
        self.assertEqual(explained("key", {"key": "HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\MEDIA\\0000"}),
                         "test-device")
        self.assertIsNone(explained("value", {
            "key": "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"}),
            "the Run values are the installer's own")
        self.assertIsNone(explained("file", {"key": MEDIA_CLASS_KEY}),
                          "a difference applies only to its kinds")

    def test_events_and_timings(self):
        self.assertEqual(explained("event", {"kind": "reboot"}), "reboot-restarts-the-session")
        self.assertEqual(explained("event", {"kind": "start", "show": None}), "start-window-state")
        self.assertIsNone(explained("event", {"kind": "start", "show": 5}))
        self.assertEqual(explained("event", {"kind": "device", "operation": "SetupSetSourceListA"}),
                         "source-list")
        self.assertEqual(explained("event", {"kind": "device", "operation": "CM_Reenumerate_DevNode"}),
                         "no-reenumeration")
        self.assertEqual(explained("event", {"kind": "device",
                                             "operation": "UpdateDriverForPlugAndPlayDevices"}),
                         "update-without-inf")
        # The operations as plan names them.
        for operation, name in (("set source list", "source-list"),
                                ("re-enumerate", "no-reenumeration"),
                                ("update", "update-without-inf")):
            self.assertEqual(explained("event", {"kind": "device", "operation": operation}), name)
        self.assertIsNone(explained("event", {"kind": "device", "operation": "register INF"}))
        self.assertIsNone(explained("event", {"kind": "dialog", "template": 102}))
        self.assertEqual(explained("timing", {"what": "the driver notice answered to the restart prompt"}),
                         "completion-wait")

    def test_texts_spelt_apart(self):
        def named(kind, plan_text, try_text):
            difference = wine_differences.explain_texts(kind, plan_text, try_text)
            return difference.name if difference else None

        self.assertEqual(named("value", "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer",
                               "C:\\windows\\W2KSetup.exe -ReplaceMixer"),
                         "windows-directory-spelling")
        self.assertEqual(named("event", "C:\\WINDOWS\\Mixer.exe /startup",
                               "C:\\windows\\Mixer.exe /startup"), "windows-directory-spelling")
        self.assertIsNone(named("value", "C:\\WINDOWS\\W2KSetup.exe -ReplaceMixer",
                                "C:\\windows\\W2KSetup.exe /DRIVER"), "more than the spelling")
        self.assertIsNone(named("value", "D:\\WINDOWS\\x", "D:\\windows\\x"),
                          "only the Windows directory")
        self.assertIsNone(named("value", "C:\\windows", "C:\\windows"), "no difference at all")
        self.assertEqual(named("event", "C:\\WINDOWS\\system32", "C:\\windows"),
                         "run-entry-directory")
        self.assertIsNone(named("event", "C:\\WINDOWS", "C:\\windows\\system32"))
        self.assertIsNone(named("value", "C:\\WINDOWS\\system32", "C:\\windows"),
                          "a directory difference is about the programs started")
        self.assertIsNone(named("event", 131, 132))
        self.assertIsNone(explained("event", {"kind": "start", "current_dir": "C:\\windows",
                                              "show": "SW_HIDE"}),
                          "a text difference explains no item on its own")

    def test_every_difference_has_a_reason(self):
        names = [d.name for d in wine_differences.KNOWN_DIFFERENCES]
        self.assertEqual(len(names), len(set(names)))
        for difference in wine_differences.KNOWN_DIFFERENCES:
            self.assertGreater(len(difference.reason), 40, difference.name)


if __name__ == "__main__":
    unittest.main()
