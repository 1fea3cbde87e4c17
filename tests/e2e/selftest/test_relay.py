"""Reading the calls out of Wine's relay trace."""

import os
import tempfile
import unittest

from wine_machine import wine

LOG = """\
[e2e   1.20] start the installer
0024:Call user32.ExitWindowsExA(00000002,00000000) ret=00401000
0024:Call user32.ExitWindowsEx(00000002,00000000) ret=0040a1b2
0030:Call user32.ExitWindowsEx(00000000,00000004) ret=0040a1b2
0030:Ret  user32.ExitWindowsEx() retval=00000000 ret=0040a1b2
0024:Ret  user32.ExitWindowsEx() retval=00000001 ret=0040a1b2
0024:Call user32.ExitWindowsEx(00000002,00000000) ret=0040a1b2
fixme:something unrelated
"""


class RelayCallsTest(unittest.TestCase):
    def calls(self, text, function):
        with tempfile.NamedTemporaryFile("w", suffix=".log", delete=False) as log:
            log.write(text)
        self.addCleanup(os.remove, log.name)
        return wine.relay_calls(log.name, function)

    def test_each_call_gets_the_result_of_its_own_thread(self):
        self.assertEqual(self.calls(LOG, "user32.ExitWindowsEx"),
                         [("00000002,00000000", 1), ("00000000,00000004", 0),
                          ("00000002,00000000", None)])

    def test_other_functions_and_a_longer_name_do_not_count(self):
        self.assertEqual(self.calls(LOG, "user32.ExitWindows"), [])
        self.assertEqual(self.calls("0024:Call kernel32.Sleep(000003e8) ret=00401000\n",
                                    "user32.ExitWindowsEx"), [])


STAMPED = """\
1465.506:0020:0024:Call KERNEL32.CreateProcessA(00000000,0064f62f "\\"D:\\\\W2KSetup.exe\\" /ap",00000000,00000000,00000000,00000000,00000000,0064f645 "D:\\\\",0064f528,0064f4e8) ret=00409c3a
1465.521:0020:0024:Ret  KERNEL32.CreateProcessA() retval=00000001 ret=00409c3a
1466.109:00c0:00c4:Call KERNEL32.SetCurrentDirectoryA(0063fb50 "D:\\\\W2K-ME\\\\") ret=0040f174
"""


class RelayReaderTest(unittest.TestCase):
    def setUp(self):
        with tempfile.NamedTemporaryFile("w", suffix=".log", delete=False) as log:
            self.path = log.name
        self.addCleanup(os.remove, self.path)

    def append(self, text):
        with open(self.path, "a") as log:
            log.write(text)

    def test_time_and_process_come_with_each_call(self):
        self.append(STAMPED)
        calls = wine.RelayReader(self.path, ["kernel32.CreateProcessA",
                                             "KERNEL32.SetCurrentDirectoryA"]).read()
        self.assertEqual([(c.time_ms, c.process, c.thread, c.function, c.result) for c in calls],
                         [(1465506, "0020", "0024", "KERNEL32.CreateProcessA", 1),
                          (1466109, "00c0", "00c4", "KERNEL32.SetCurrentDirectoryA", None)])

    def test_a_growing_log_is_read_in_pieces(self):
        reader = wine.RelayReader(self.path, ["KERNEL32.CreateProcessA"])
        first, rest = STAMPED.split("\n", 1)
        self.append(first[:40])
        self.assertEqual(reader.read(), [])
        self.append(first[40:] + "\n")
        calls = reader.read()
        self.assertEqual(len(calls), 1)
        self.assertIsNone(calls[0].result)
        self.append(rest)
        self.assertEqual(reader.read(), [])
        self.assertEqual(calls[0].result, 1, "the return read later fills in the call's result")


class RelayArgumentsTest(unittest.TestCase):
    def test_values_strings_and_escapes(self):
        self.assertEqual(
            wine.relay_arguments('00000000,0064f62f "\\"D:\\\\W2KSetup.exe\\" /ap, x",'
                                 '00000005'),
            [("00000000", None), ("0064f62f", '"D:\\W2KSetup.exe" /ap, x'),
             ("00000005", None)])

    def test_wide_strings_and_bytes_in_the_code_page(self):
        self.assertEqual(wine.relay_arguments('0078af80 L"C:\\\\a\\x00e9b"'),
                         [("0078af80", "C:\\a\u00e9b")])
        # Big5 for the two characters of "Chinese" (0xA4A4 0xA4E5).
        self.assertEqual(wine.relay_arguments('0063fb50 "\\xa4\\xa4\\xa4\\xe5"', "cp950"),
                         [("0063fb50", "\u4e2d\u6587")])

    def test_a_cut_string_and_a_broken_list(self):
        self.assertEqual(wine.relay_arguments('0063fb50 "abc"...,00000001'),
                         [("0063fb50", "abc"), ("00000001", None)])
        with self.assertRaises(ValueError):
            wine.relay_arguments("zz")


if __name__ == "__main__":
    unittest.main()
