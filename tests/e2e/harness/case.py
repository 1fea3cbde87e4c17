"""One end-to-end case: a Machine (wine_machine.machine: a fresh Wine prefix
on a chosen Windows version, an X display, the helper programs) with the
media a case writes, the installer of the Windows build, and the checks,
with a clear failure message and the artifacts of the run kept under
build/e2e-artifacts/<case>/.

A case is a function that takes a Case; harness.runner.run_case makes the
Case, runs the function and reports.
"""

import glob
import importlib.util
import os

from wine_machine.machine import Machine, MachineError, Process

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))


# What stops a case: a failed check, or the machine's own failure (a program
# that does not end, a user step that does not hold).
CaseFailure = MachineError


def _load_make_media():
    module_source = importlib.util.spec_from_file_location("make_media",
                                                  os.path.join(REPO, "tools", "make_media.py"))
    module = importlib.util.module_from_spec(module_source)
    module_source.loader.exec_module(module)
    return module


class Media:
    """An install-media tree: its Unix folder and its path inside the prefix
    (with the trailing backslash, as the installer's SourceDir)."""

    def __init__(self, unix, windows):
        self.unix = unix
        self.windows = windows.rstrip("\\") + "\\"

    def path(self, relative):
        return self.windows + relative

    def __repr__(self):
        return "<media %s>" % self.windows


class CaseProcess(Process):
    def expect_exit(self, code, timeout=30):
        if self.exit_code is None:
            self.wait(timeout)
        self.case.expect_equal(self.exit_code, code, "exit code of " + self.what)
        return self


class Case(Machine):
    process_class = CaseProcess

    def __init__(self, name, windows, options, display=None, artifacts=None):
        self.problems = []
        self._installer = None
        Machine.__init__(self, name, windows, options, display, artifacts)

    @property
    def installer(self):
        """W2KSetup.exe of the Windows build that runs here: the product, or
        on the x86-64 way its twin."""
        if self._installer is None:
            self._installer = self._find_installer()
        return self._installer

    @property
    def product(self):
        """The product's W2KSetup.exe: what a media for `w2kmedia try` holds,
        on either way (try itself runs the twin in its place where it must)."""
        return os.path.join(self.options.win32_build, "W2KSetup.exe")

    def _find_installer(self):
        build = self.options.windows_build
        found = [os.path.join(build, "W2KSetup.exe")]
        found += sorted(glob.glob(os.path.join(build, "**", "W2KSetup.exe"), recursive=True))
        for path in found:
            if os.path.isfile(path):
                return path
        raise CaseFailure("W2KSetup.exe not found under %s: build the Windows configuration "
                          "(scripts/build.sh)" % build)

    # ---- media ------------------------------------------------------------

    def cd_drive(self):
        """The folder of drive D:, mapped when first asked for."""
        folder = os.path.join(self.work, "cd")
        if not os.path.isdir(folder):
            os.makedirs(folder)
            self.prefix.map_drive("D:", folder)
        return folder

    def make_media(self, on="d", folder=None, **options):
        """Writes an install-media tree (tools/make_media.py) and returns it.

        on="d": on drive D:, a folder of the case's work folder that the
        programs see read-only, as a CD; on="c": on drive C of the prefix;
        on="blank": like "d", in a folder whose name holds a blank. The
        keyword options are make_media.py's options with '_' for '-':
        web_setup=1, driver_folders=["WinXP"], no_package=True, ...
        The installer defaults to the one of the Windows build and every
        outside program to the recorder."""
        if on == "c":
            unix = os.path.join(self.prefix.drive_c, folder or "AudioCD")
        elif on == "blank":
            unix = os.path.join(self.cd_drive(), folder or "Sound Media", "Disk 1")
        elif on == "d":
            unix = os.path.join(self.cd_drive(), folder or "media")
        else:
            raise ValueError("on must be d, c or blank")
        argv = [unix, "--quiet"]
        options.setdefault("installer", self.installer)
        options.setdefault("programs", self.helper("recorder"))
        for key, value in options.items():
            flag = "--" + key.replace("_", "-")
            if value is True:
                argv.append(flag)
            elif value is False or value is None:
                continue
            elif isinstance(value, (list, tuple)):
                argv += [flag, ",".join(value)]
            else:
                argv += [flag, str(value)]
        _load_make_media().main(argv)
        media = Media(unix, self.windows_path(unix))
        self.log("media written: %s" % media.windows)
        return media

    # ---- checks -----------------------------------------------------------

    def expect(self, condition, message):
        """A check that does not stop the case; every failed one is reported."""
        if not condition:
            self.problems.append(message)
            self.log("CHECK FAILED: " + message)
        return bool(condition)

    def expect_equal(self, actual, expected, what):
        return self.expect(actual == expected,
                           "%s: expected %r, got %r" % (what, expected, actual))

    def fail(self, message):
        raise CaseFailure(message)
