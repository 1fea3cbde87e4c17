"""The change list of `w2kmedia try`: files with their size and hash before
and after, registry keys and values with type and data, in the groups the
report shows."""

import hashlib
import os
import shutil
import tempfile
import unittest

from wine_machine import files, registry
from wine_machine.installer import MEDIA_CLASS_KEY
from media_try import changes


class Snapshot:
    """Snapshots as changes.Snapshot holds them, without a prefix."""

    def __init__(self, drive_c, registry_snapshot=None, media=None):
        self.drive_c = drive_c
        self.registry = registry_snapshot or {}
        self.media = media or {}


class FileChangesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder)

    def put(self, relative, data):
        path = os.path.join(self.folder, *relative.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def test_files_and_folders_with_their_states(self):
        self.put("windows/mixerdef.ini", b"[RUNTIME]\r\nInitialize=1\r\n")
        self.put("windows/inf/oem7.inf", b"old")
        os.makedirs(os.path.join(self.folder, "Program Files"))
        before = Snapshot(files.snapshot(self.folder))
        self.put("windows/mixerdef.ini", b"[RUNTIME]\r\nInitialize=0\r\n")
        os.remove(os.path.join(self.folder, "windows", "inf", "oem7.inf"))
        self.put("Program Files/Quarnel/WIN_ME/QNAUDIO.INF", b"inf")
        self.put("windows/temp/wine.tmp", b"noise")
        self.put("users/me/notes.txt", b"x")
        found = changes.changes(before, Snapshot(files.snapshot(self.folder)))
        sha = lambda data: hashlib.sha256(data).hexdigest()
        self.assertEqual([(c["group"], c["kind"], c["change"], c["path"]) for c in found], [
            ("Files under C:\\Program Files\\Quarnel\\", "folder", "added",
             "C:\\Program Files\\Quarnel\\"),
            ("Files under C:\\Program Files\\Quarnel\\", "folder", "added",
             "C:\\Program Files\\Quarnel\\WIN_ME\\"),
            ("Files under C:\\Program Files\\Quarnel\\", "file", "added",
             "C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF"),
            ("The INF folder", "file", "removed", "C:\\windows\\inf\\oem7.inf"),
            ("Files in C:\\windows\\", "file", "changed", "C:\\windows\\mixerdef.ini"),
            ("Other files", "folder", "added", "C:\\users\\"),
            ("Other files", "folder", "added", "C:\\users\\me\\"),
            ("Other files", "file", "added", "C:\\users\\me\\notes.txt"),
        ])
        by_path = {c["path"]: c for c in found}
        self.assertEqual(by_path["C:\\windows\\mixerdef.ini"]["before"],
                         {"size": 25, "sha256": sha(b"[RUNTIME]\r\nInitialize=1\r\n")})
        self.assertEqual(by_path["C:\\windows\\mixerdef.ini"]["after"]["sha256"],
                         sha(b"[RUNTIME]\r\nInitialize=0\r\n"))
        self.assertEqual((by_path["C:\\windows\\inf\\oem7.inf"]["after"],
                          by_path["C:\\Program Files\\Quarnel\\WIN_ME\\QNAUDIO.INF"]["before"]),
                         (None, None))

    def test_the_media_is_drive_d(self):
        self.put("setup.ini", b"[InstallOption]\r\n")
        before = Snapshot({}, media=files.snapshot(self.folder, drive="D:"))
        self.put("setup.ini", b"[InstallOption]\r\nWebSetup=1\r\n")
        found = changes.changes(before, Snapshot({}, media=files.snapshot(self.folder, "D:")))
        self.assertEqual([(c["group"], c["path"], c["change"]) for c in found],
                         [("The media (D:)", "D:\\setup.ini", "changed")])


class RegistryChangesTest(unittest.TestCase):
    def value(self, name, type, data):
        return registry.Value(name, type, data)

    def test_keys_and_values_in_their_groups(self):
        run = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
        driver = MEDIA_CLASS_KEY + "\\0000\\Settings"
        before = {(run.lower(), None): (run, None)}
        after = dict(before)
        after[(run.lower(), "replace quarnel mixer")] = (run, self.value(
            "Replace Quarnel Mixer", registry.REG_SZ, "C:\\windows\\W2KSetup.exe -ReplaceMixer"))
        after[(driver.lower(), None)] = (driver, None)
        after[(driver.lower(), "jackconfig")] = (driver, self.value("JackConfig",
                                                                    registry.REG_DWORD, 0))
        after[("hkcu\\software\\wine", "x")] = ("HKCU\\Software\\Wine",
                                                self.value("x", registry.REG_BINARY, b"\x01"))
        found = changes.changes(Snapshot({}, before), Snapshot({}, after))
        self.assertEqual(found, [
            {"group": "The driver key", "kind": "key", "change": "added", "key": driver,
             "before": None, "after": {}},
            {"group": "The driver key", "kind": "value", "change": "added", "key": driver,
             "name": "JackConfig", "before": None, "after": {"type": "REG_DWORD", "data": 0}},
            {"group": "Registry values", "kind": "value", "change": "added", "key": run,
             "name": "Replace Quarnel Mixer", "before": None,
             "after": {"type": "REG_SZ", "data": "C:\\windows\\W2KSetup.exe -ReplaceMixer"}},
        ])

    def test_binary_data_is_written_as_hex(self):
        self.assertEqual(changes.value_json(self.value("b", registry.REG_BINARY, b"\x00\xff")),
                         {"type": "REG_BINARY", "data": "00ff"})


class GroupsTest(unittest.TestCase):
    def test_the_first_group_that_fits_takes_a_change(self):
        self.assertEqual(changes.group_of("file", "c:\\WINDOWS\\INF\\x.inf"), "The INF folder")
        self.assertEqual(changes.group_of("file", "C:\\windows\\Mixer.exe"),
                         "Files in C:\\windows\\")
        self.assertEqual(changes.group_of("value", "HKLM\\System\\CurrentControlSet\\Enum\\X"),
                         "The device")
        self.assertEqual(changes.group_of("file", "C:\\users\\a.txt"), "Other files")

    def test_the_dos_drivers_tell_a_staging_that_chose_a_media_folder(self):
        self.assertTrue(changes.dos_staged([{"kind": "folder", "change": "added",
                                             "path": "C:\\Program Files\\Quarnel\\DOS\\"}]))
        self.assertFalse(changes.dos_staged([{"kind": "folder", "change": "added",
                                              "path": "C:\\Program Files\\Quarnel\\DOS\\DOSAPP\\"}]))


if __name__ == "__main__":
    unittest.main()
