"""The record file parser and the INI reader."""

import unittest

from wine_machine import files, records


class RecordsTest(unittest.TestCase):
    def test_blocks_fields_and_escapes(self):
        text = ("@record start\r\nprogram=C:\\windows\\Mixer.exe\r\n"
                "cmdline=C:\\windows\\Mixer.exe /startup 100%25 a=b\r\n"
                "cwd=C:\\research\r\n@end\r\n"
                "@record close\ntitle=line%0Atwo\n@end\n"
                "@record exit\nprogram=cut off")
        found = records.parse(text)
        self.assertEqual([(r.kind, r.complete) for r in found],
                         [("start", True), ("close", True), ("exit", False)])
        self.assertEqual(found[0]["cmdline"], "C:\\windows\\Mixer.exe /startup 100% a=b")
        self.assertEqual(found[0]["cwd"], "C:\\research")
        self.assertEqual(found[0].program_name, "Mixer.exe")
        self.assertEqual(found[1]["title"], "line\ntwo")

    def test_select_by_kind_program_and_field(self):
        found = records.parse("@record start\nprogram=Z:\\m\\SETUP.EXE\n@end\n"
                              "@record start\nprogram=C:\\windows\\Mixer.exe\n@end\n"
                              "@record close\ntitle=Mixer\n@end\n")
        self.assertEqual(len(records.select(found, "start", program="setup.exe")), 1)
        self.assertEqual(len(records.select(found, "close", title="Mixer")), 1)
        self.assertEqual(records.select(found, "close", title="TuneStack"), [])


class IniTest(unittest.TestCase):
    def test_windows_profile_rules(self):
        data = (b"[CD PLAYER]\r\nUsingCDDA = 1 \r\n; comment=x\r\n"
                b"[Need_To_InstallDriver]\r\nCommand=\"D:\\Setup.exe\"\r\nInstall=YES\r\n"
                b"command=second\r\n")
        self.assertEqual(files.parse_ini(data), {
            "cd player": {"usingcdda": "1"},
            "need_to_installdriver": {"command": "D:\\Setup.exe", "install": "YES"},
        })


if __name__ == "__main__":
    unittest.main()
