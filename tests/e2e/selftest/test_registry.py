"""The registry file reader and editor against text in Wine's format."""

import os
import tempfile
import unittest

from wine_machine import registry

SAMPLE = (
    'WINE REGISTRY Version 2\n'
    ';; All keys relative to REGISTRY\\\\Machine\n'
    '\n'
    '#arch=win32\n'
    '\n'
    '[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run] 1796756481\n'
    '#time=1dd87468341ceec\n'
    '"PCI Audio Applications"="C:\\\\Program Files\\\\Quarnel\\\\TS.exe /tray"\n'
    '"Quote"="say \\"hi\\""\n'
    '\n'
    '[Software\\\\Sample] 1796756481\n'
    '@="default"\n'
    '"Count"=dword:0000002a\n'
    '"Path"=str(2):"%SystemRoot%\\\\x"\n'
    '"List"=str(7):"one\\0two\\0"\n'
    '"Bytes"=hex:01,02,\\\n'
    '  ff\n'
    '"Unterminated"=hex(1):43,00,44,00\n'
)


class RegistryFileTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        for name in ("system.reg", "user.reg", "userdef.reg"):
            with open(os.path.join(self.folder.name, name), "w") as f:
                f.write(SAMPLE if name == "system.reg" else SAMPLE.split("[")[0])

    def path(self, name="system.reg"):
        return os.path.join(self.folder.name, name)

    def test_an_unchanged_file_is_written_back_byte_for_byte(self):
        registry.RegistryFile(self.path()).save()
        with open(self.path()) as f:
            self.assertEqual(f.read(), SAMPLE)

    def test_values_of_every_type_are_read(self):
        reg = registry.Registry(self.folder.name)
        run = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
        self.assertEqual(reg.value(run, "pci audio applications").data,
                         "C:\\Program Files\\Quarnel\\TS.exe /tray")
        self.assertEqual(reg.value(run, "Quote").data, 'say "hi"')
        values = reg.values("HKEY_LOCAL_MACHINE\\Software\\Sample")
        self.assertEqual({n: (v.type, v.data) for n, v in values.items()}, {
            "": (registry.REG_SZ, "default"),
            "Count": (registry.REG_DWORD, 42),
            "Path": (registry.REG_EXPAND_SZ, "%SystemRoot%\\x"),
            "List": (registry.REG_MULTI_SZ, ["one", "two"]),
            "Bytes": (registry.REG_BINARY, b"\x01\x02\xff"),
            "Unterminated": (registry.REG_SZ, "CD"),
        })

    def test_set_and_delete_change_only_their_key(self):
        reg = registry.Registry(self.folder.name)
        run = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
        reg.set(run, "Replace Quarnel Mixer", "C:\\windows\\W2KSetup.exe -ReplaceMixer")
        reg.delete(run, "PCI Audio Applications")
        reg.set("HKCU\\Software\\Microsoft\\Multimedia\\Audio", "SystemFormats", "CD Quality,")
        reg.create_key("HKU\\.Default\\Software\\Microsoft\\Multimedia\\Audio")
        reg.save()

        again = registry.Registry(self.folder.name)
        self.assertIsNone(again.value(run, "PCI Audio Applications"))
        self.assertEqual(again.value(run, "replace quarnel mixer").data,
                         "C:\\windows\\W2KSetup.exe -ReplaceMixer")
        self.assertEqual(again.value("HKCU\\Software\\Microsoft\\Multimedia\\Audio",
                                     "SystemFormats").data, "CD Quality,")
        self.assertTrue(again.key_exists("HKU\\.Default\\Software\\Microsoft"))
        self.assertEqual(again.values("HKLM\\Software\\Sample")["Bytes"].data, b"\x01\x02\xff")
        with open(self.path()) as f:
            text = f.read()
        self.assertIn('[Software\\\\Sample] 1796756481\n@="default"\n', text)

    def test_escapes_survive_a_round_trip(self):
        reg = registry.Registry(self.folder.name)
        tricky = 'tab\there "quoted" back\\slash \x01 caf\xe9'
        reg.set("HKLM\\Software\\Sample", "Tricky", tricky)
        reg.set("HKLM\\Software\\Sample", "Multi", ["a\x011", "b"])
        reg.save()
        again = registry.Registry(self.folder.name)
        self.assertEqual(again.value("HKLM\\Software\\Sample", "Tricky").data, tricky)
        self.assertEqual(again.value("HKLM\\Software\\Sample", "Multi").data, ["a\x011", "b"])

    def test_diff_names_what_changed(self):
        before = registry.Registry(self.folder.name).snapshot()
        reg = registry.Registry(self.folder.name)
        reg.set("HKLM\\Software\\Sample", "Count", 43)
        reg.delete("HKLM\\Software\\Sample", "Path")
        reg.set("HKLM\\Software\\Wine\\Noise", "X", "y")
        changes = registry.diff(before, reg.snapshot(), ignore=[r"^HKLM\\Software\\Wine"])
        self.assertEqual(changes, [
            "value changed: HKLM\\Software\\Sample [Count] REG_DWORD 42 -> REG_DWORD 43",
            "value removed: HKLM\\Software\\Sample [Path] (was REG_EXPAND_SZ '%SystemRoot%\\\\x')",
        ])

    def test_other_users_are_refused(self):
        with self.assertRaises(registry.RegistryError):
            registry.split_path("HKU\\S-1-5-21\\Software")


if __name__ == "__main__":
    unittest.main()
