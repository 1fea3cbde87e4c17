"""Wine prefixes for the end-to-end cases.

Booting a prefix takes several seconds, so one template is booted per run
(`wineboot -i`), one copy of it per Windows version gets that version
(`winecfg -v`), and every case starts from a copy of its version's template.
The copies hard-link the large system files that no case writes (the DLLs and
programs under C:\\windows and the fonts) and really copy everything else, so
a fresh prefix costs a fraction of a second.
"""

import contextlib
import fcntl
import ntpath
import os
import re
import shutil
import subprocess
import time

WINDOWS_VERSIONS = ("win95", "win98", "winme", "nt40", "win2k", "winxp", "win7")

# Wine's own desktop integration and the Mono/Gecko installers stay out of
# the prefixes: they would add files and prompts that no case asked for.
BASE_ENVIRONMENT = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mscoree=;mshtml=",
}

# Files that are shared by hard link between a template and its copies. They
# are never written by the cases; everything else is copied.
SHARED_SUFFIXES = (".dll", ".drv", ".exe", ".sys", ".ocx", ".cpl", ".acm", ".ax", ".tlb",
                   ".ds", ".vxd", ".com", ".msstyles", ".ttf", ".ttc", ".fon", ".nls",
                   ".mui", ".sfd")
SHARED_FOLDERS = ("drive_c/windows/system32", "drive_c/windows/syswow64",
                  "drive_c/windows/Fonts", "drive_c/windows/winsxs")

MARKER = ".e2e-template"


class WineError(Exception):
    pass


def wine_version():
    try:
        return subprocess.run(["wine", "--version"], capture_output=True, text=True,
                              timeout=30).stdout.strip()
    except (OSError, subprocess.TimeoutExpired) as error:
        raise WineError("wine does not run: %s" % error)


def copy_prefix(source, target):
    """Copies a prefix, hard-linking the shared system files."""
    source = os.path.abspath(source)
    for folder, dirs, files in os.walk(source):
        relative = os.path.relpath(folder, source)
        os.makedirs(os.path.join(target, relative), exist_ok=True)
        shared_folder = any(relative == f or relative.startswith(f + "/")
                            for f in SHARED_FOLDERS)
        for name in list(dirs):
            path = os.path.join(folder, name)
            if os.path.islink(path):
                # dosdevices: c: -> ../drive_c, z: -> /; keep them links.
                os.symlink(os.readlink(path), os.path.join(target, relative, name))
                dirs.remove(name)
        for name in files:
            path = os.path.join(folder, name)
            destination = os.path.join(target, relative, name)
            if os.path.islink(path):
                os.symlink(os.readlink(path), destination)
            elif shared_folder and name.lower().endswith(SHARED_SUFFIXES):
                os.link(path, destination)
            else:
                shutil.copy2(path, destination)


def _run(argv, env, timeout, what):
    try:
        result = subprocess.run(argv, env=env, capture_output=True, text=True,
                                errors="replace", timeout=timeout)
    except subprocess.TimeoutExpired:
        raise WineError("%s did not end within %d s" % (what, timeout))
    if result.returncode != 0:
        raise WineError("%s failed (exit %d): %s" % (what, result.returncode,
                                                    (result.stderr or result.stdout)[-2000:]))
    return result


class Templates:
    """The template prefixes of one work folder, built on demand under a lock,
    so that cases running side by side share them."""

    def __init__(self, work_dir):
        self.root = os.path.join(os.path.abspath(work_dir), "templates")
        os.makedirs(self.root, exist_ok=True)
        self._version = None

    @contextlib.contextmanager
    def _lock(self):
        with open(os.path.join(self.root, ".lock"), "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            try:
                yield
            finally:
                fcntl.flock(lock, fcntl.LOCK_UN)

    def _wine_version(self):
        if self._version is None:
            self._version = wine_version()
        return self._version

    def _ready(self, path):
        try:
            with open(os.path.join(path, MARKER)) as f:
                return f.read().split("\n")[0] == self._wine_version()
        except OSError:
            return False

    def _mark(self, path, seconds):
        with open(os.path.join(path, MARKER), "w") as f:
            f.write("%s\nbuilt in %.1f s\n" % (self._wine_version(), seconds))

    def remove_all(self):
        with self._lock():
            for name in os.listdir(self.root):
                path = os.path.join(self.root, name)
                if os.path.isdir(path):
                    shutil.rmtree(path)

    def _environment(self, prefix):
        env = dict(os.environ)
        env.update(BASE_ENVIRONMENT)
        env["WINEPREFIX"] = prefix
        env.pop("DISPLAY", None)  # no windows while a template boots
        return env

    def _build_base(self):
        path = os.path.join(self.root, "base")
        if self._ready(path):
            return path
        shutil.rmtree(path, ignore_errors=True)
        started = time.monotonic()
        env = self._environment(path)
        _run(["wineboot", "-i"], env, 300, "wineboot -i")
        _run(["wineserver", "-w"], env, 120, "wineserver -w")
        self._mark(path, time.monotonic() - started)
        return path

    def template(self, windows_version):
        """The path of the template prefix for a Windows version."""
        if windows_version not in WINDOWS_VERSIONS:
            raise WineError("unknown Windows version %r (one of %s)"
                            % (windows_version, ", ".join(WINDOWS_VERSIONS)))
        with self._lock():
            base = self._build_base()
            path = os.path.join(self.root, windows_version)
            if self._ready(path):
                return path
            shutil.rmtree(path, ignore_errors=True)
            started = time.monotonic()
            copy_prefix(base, path)
            os.remove(os.path.join(path, MARKER))
            env = self._environment(path)
            _run(["wine", "winecfg", "-v", windows_version], env, 120,
                 "winecfg -v " + windows_version)
            _run(["wineserver", "-w"], env, 120, "wineserver -w")
            self._mark(path, time.monotonic() - started)
            return path


def relay_calls(log_path, function):
    """The calls of `function` ("user32.ExitWindowsEx") that Wine's relay
    trace wrote into a log: [(arguments text, return value or None)]. Wine
    writes "0024:Call user32.ExitWindowsEx(00000002,00000000) ret=..." and
    later, from the same thread, "0024:Ret  user32.ExitWindowsEx() retval=00000001 ..."."""
    call = re.compile(r"^([0-9a-f]{4,}):Call %s\((.*)\) ret=" % re.escape(function))
    result = re.compile(r"^([0-9a-f]{4,}):Ret  %s\(\) retval=([0-9a-f]+)" % re.escape(function))
    calls = []
    open_calls = {}
    with open(log_path, encoding="latin-1") as log:
        for line in log:
            found = call.match(line)
            if found:
                open_calls.setdefault(found.group(1), []).append(len(calls))
                calls.append([found.group(2), None])
                continue
            found = result.match(line)
            if found and open_calls.get(found.group(1)):
                calls[open_calls[found.group(1)].pop()][1] = int(found.group(2), 16)
    return [tuple(c) for c in calls]


class Prefix:
    """One case's prefix: paths between Unix and Windows, processes in it."""

    def __init__(self, path, environment):
        self.path = os.path.abspath(path)
        self.environment = dict(environment)
        self.environment["WINEPREFIX"] = self.path
        self.drive_c = os.path.join(self.path, "drive_c")

    def windows_path(self, unix_path):
        """A Unix path as the programs in the prefix see it (C:\\... or Z:\\...)."""
        unix_path = os.path.abspath(unix_path)
        if unix_path == self.drive_c or unix_path.startswith(self.drive_c + "/"):
            rest = unix_path[len(self.drive_c):]
            return "C:" + (rest.replace("/", "\\") or "\\")
        return "Z:" + unix_path.replace("/", "\\")

    def unix_path(self, windows_path):
        """A C:\\ or Z:\\ path as a Unix path. Names compare without case, as on
        Windows; components that do not exist keep their spelling."""
        drive, rest = ntpath.splitdrive(windows_path)
        drive = drive.upper()
        if drive == "C:":
            current = self.drive_c
        elif drive == "Z:":
            current = "/"
        else:
            raise WineError("no such drive in the prefix: %s" % windows_path)
        for part in [p for p in rest.split("\\") if p]:
            exact = os.path.join(current, part)
            if not os.path.exists(exact) and os.path.isdir(current):
                for name in os.listdir(current):
                    if name.lower() == part.lower():
                        exact = os.path.join(current, name)
                        break
            current = exact
        return current

    def start(self, argv, cwd=None, env=None, log=None):
        """Starts `wine argv...`; the program may be a Windows or a Unix path."""
        environment = dict(self.environment)
        if env:
            environment.update(env)
        return subprocess.Popen(["wine"] + list(argv), cwd=cwd or self.drive_c, env=environment,
                                stdin=subprocess.DEVNULL, stdout=log or subprocess.DEVNULL,
                                stderr=subprocess.STDOUT if log else subprocess.DEVNULL,
                                start_new_session=True)

    def run(self, argv, timeout, cwd=None, env=None):
        """Runs `wine argv...` to its end; returns (exit code, output)."""
        environment = dict(self.environment)
        if env:
            environment.update(env)
        try:
            result = subprocess.run(["wine"] + list(argv), cwd=cwd or self.drive_c,
                                    env=environment, stdin=subprocess.DEVNULL,
                                    capture_output=True, text=True, errors="replace",
                                    timeout=timeout)
        except subprocess.TimeoutExpired as expired:
            self.kill()
            output = expired.stdout or b""
            raise WineError("wine %s did not end within %s s; output: %s"
                            % (" ".join(argv), timeout,
                               output.decode("latin-1", "replace")
                               if isinstance(output, bytes) else output))
        return result.returncode, result.stdout + result.stderr

    def kill(self):
        """Ends every process of the prefix; the wineserver writes the
        registry files as it goes."""
        subprocess.run(["wineserver", "-k"], env=self.environment, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.environment, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
