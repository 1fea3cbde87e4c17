"""The sandbox that the programs of a prefix run in, with a shell as the
program: what it can see, write and leave behind, and what is told when no
sandbox can be made."""

import os
import secrets
import shutil
import stat
import subprocess
import tempfile
import time
import unittest
from unittest import mock

from wine_machine import sandbox


def shell(box, script, env=None):
    return box.run(["/usr/bin/sh", "-c", script], "/", env or {}, 30)


class SandboxTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="sandbox-test-")
        self.addCleanup(shutil.rmtree, self.work)
        self.media = os.path.join(self.work, "media")
        os.makedirs(self.media)
        self.box = sandbox.Sandbox([self.work], [self.media], os.path.join(self.work, "own"))
        self.addCleanup(self.box.close)

    def test_only_the_work_folder_can_be_written_and_the_host_is_not_there(self):
        host_file = tempfile.NamedTemporaryFile(prefix="host-", dir="/tmp")
        self.addCleanup(host_file.close)
        code, output = shell(self.box, 'echo x > "%s/written" && echo work-ok; '
                                       '(echo x > "%s/written") 2>/dev/null || echo media-refused; '
                                       'test -e "%s" || echo host-tmp-absent; '
                                       'test -e "%s" || echo home-absent'
                             % (self.work, self.media, host_file.name,
                                os.path.expanduser("~")))
        self.assertEqual(output.split(), ["work-ok", "media-refused", "host-tmp-absent",
                                          "home-absent"], output)
        self.assertTrue(os.path.isfile(os.path.join(self.work, "written")))

    def test_the_host_environment_stays_outside_but_wine_settings_go_in(self):
        given = sandbox.host_variables({"HOST_TOKEN": "secret", "WINEPREFIX": "/p",
                                        "HOME": "/root", "LANG": "C.UTF-8"})
        given["W2KSETUP_LOG"] = "C:\\x.log"  # one the run sets for the program
        code, output = shell(self.box, 'echo "[$HOST_TOKEN][$WINEPREFIX][$HOME][$LANG]'
                                       '[$W2KSETUP_LOG]"', given)
        self.assertEqual(output.strip(), "[][/p][%s][C.UTF-8][C:\\x.log]" % self.box.home)

    def test_closing_ends_what_its_programs_left_running(self):
        marker = "sandbox-left-" + secrets.token_hex(4)
        shell(self.box, "/usr/bin/python3 -c 'import time; time.sleep(60)' %s "
                        ">/dev/null 2>&1 &" % marker)
        self.assertTrue(self.running(marker), "the background program did not start")
        self.box.close()
        deadline = time.monotonic() + 5
        while self.running(marker) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertFalse(self.running(marker), "a program outlived its sandbox")

    @staticmethod
    def running(marker):
        return subprocess.run(["pgrep", "-f", marker], capture_output=True).returncode == 0


class NoSandboxTest(unittest.TestCase):
    def test_a_missing_bubblewrap_is_told_with_its_fix(self):
        with mock.patch.object(sandbox.shutil, "which", return_value=None):
            with self.assertRaises(sandbox.SandboxError) as raised:
                sandbox.check_available()
        self.assertIn("bubblewrap (bwrap) is not installed", str(raised.exception))
        self.assertIn("--no-sandbox", str(raised.exception))

    def test_namespaces_refused_are_told_in_bwraps_words(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        fake = os.path.join(folder, "bwrap")
        with open(fake, "w") as f:
            f.write("#!/bin/sh\necho 'bwrap: No permissions to create new namespace' >&2\n"
                    "exit 1\n")
        os.chmod(fake, stat.S_IRWXU)
        with mock.patch.object(sandbox, "BWRAP", fake):
            with self.assertRaises(sandbox.SandboxError) as raised:
                sandbox.check_available()
        message = str(raised.exception)
        self.assertIn("No permissions to create new namespace", message)
        self.assertIn("--no-sandbox", message)
        self.assertNotIn("\n", message)


if __name__ == "__main__":
    unittest.main()
