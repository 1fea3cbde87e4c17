"""The INF bytes a case expects after the option patching."""

import unittest

from harness import installer
from wine_machine.installer import ENABLE_LEGACY_LINE, JACK_CONFIG_LINE

INF = b"[Version]\r\n" + ENABLE_LEGACY_LINE + b"\r\n" + JACK_CONFIG_LINE + b",kept\r\n"


class WithValueDigitTest(unittest.TestCase):
    def test_only_the_value_digit_of_that_line_changes(self):
        patched = installer.with_value_digit(INF, JACK_CONFIG_LINE, "0")
        self.assertEqual(len(patched), len(INF))
        self.assertEqual([i for i in range(len(INF)) if INF[i] != patched[i]],
                         [INF.index(JACK_CONFIG_LINE) + 48])
        self.assertIn(b'"JackConfig",      0x00010001,0x00,0,0,0,kept\r\n', patched)
        self.assertIn(ENABLE_LEGACY_LINE, patched)

    def test_a_line_at_the_start_of_the_file(self):
        inf = ENABLE_LEGACY_LINE + b"\r\n"
        self.assertEqual(installer.with_value_digit(inf, ENABLE_LEGACY_LINE, "2"),
                         inf.replace(b"0x03", b"0x02"))

    def test_a_line_that_is_not_at_a_line_start_is_not_taken(self):
        with self.assertRaises(ValueError):
            installer.with_value_digit(b"; " + JACK_CONFIG_LINE + b"\r\n",
                                       JACK_CONFIG_LINE, "0")


if __name__ == "__main__":
    unittest.main()
