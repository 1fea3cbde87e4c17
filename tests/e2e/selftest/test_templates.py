"""Building a template prefix: a Wine program that does not end takes the
prefix's other programs with it, before its folder can be deleted."""

import shutil
import subprocess
import tempfile
import unittest
from unittest import mock

from wine_machine import host, sandbox, wine

WAY = host.Way(*host.I686, reason="a test")


class StoppedBuildTest(unittest.TestCase):
    def run_stopped(self, stop):
        """Runs wineboot through the template builder, outside the sandbox,
        while it stops with `stop`; returns the other Wine commands run and
        their prefixes."""
        commands = []

        def fake_run(launcher, argv, cwd, env, timeout):
            if argv[1:2] == ["wineboot"]:
                raise stop
            commands.append((argv, env["WINEPREFIX"]))
            return 0, ""

        templates = wine.Templates(self.work, WAY, sandboxed=False)
        with mock.patch.object(sandbox.HostProcesses, "run", autospec=True, side_effect=fake_run):
            with self.assertRaises(BaseException) as raised:
                templates._run_all("/work/templates/base",
                                   [([WAY.loader, "wineboot", "-i"], 300, "wineboot -i")])
        return raised.exception, commands

    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.work)

    def test_a_timeout_ends_the_prefix_and_says_so(self):
        error, commands = self.run_stopped(subprocess.TimeoutExpired(["wineboot", "-i"], 300))
        self.assertIsInstance(error, wine.WineError)
        self.assertEqual(str(error), "wineboot -i did not end within 300 s")
        self.assertEqual(commands, [([WAY.server, "-k"], "/work/templates/base"),
                                    ([WAY.server, "-w"], "/work/templates/base")])

    def test_an_interrupt_ends_the_prefix_and_goes_on(self):
        error, commands = self.run_stopped(KeyboardInterrupt())
        self.assertIsInstance(error, KeyboardInterrupt)
        self.assertEqual(commands, [([WAY.server, "-k"], "/work/templates/base"),
                                    ([WAY.server, "-w"], "/work/templates/base")])


if __name__ == "__main__":
    unittest.main()
