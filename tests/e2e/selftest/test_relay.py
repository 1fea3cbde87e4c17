"""Reading the calls out of Wine's relay trace."""

import os
import tempfile
import unittest

from harness import wine

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


if __name__ == "__main__":
    unittest.main()
