"""The run of `w2kmedia try`: each output folder has a prefix of its own."""

import unittest

from media_try import session


class CaseNameTest(unittest.TestCase):
    def test_output_folders_of_one_name_get_prefixes_of_their_own(self):
        first = session.case_name("/home/ann/tries/run")
        second = session.case_name("/home/ann/other/run")
        self.assertNotEqual(first, second)
        self.assertRegex(first, r"^run-[0-9a-f]{8}$")
        self.assertRegex(second, r"^run-[0-9a-f]{8}$")
        self.assertEqual(session.case_name("/home/ann/tries/run"), first)


if __name__ == "__main__":
    unittest.main()
