"""Wine prefixes, and the calls of the programs in them as Wine's relay
trace shows them.

Booting a prefix takes several seconds, so one template is booted per work
folder and way (`wineboot -i`), one copy of it per Windows version gets that
version, and every prefix starts from a copy of its version's template. The
copies hard-link the large system files that no program writes (the DLLs and
programs under C:\\windows and the fonts) and really copy everything else, so
a fresh prefix costs a fraction of a second.

Every Wine program is started with the loader of the machine's way
(host.py): Wine's 32-bit loader in a 32-bit prefix, or wine64 in a 64-bit
one; and inside a sandbox (sandbox.py) unless told otherwise.

A template is sealed once booted: it has no drive Z: (Wine links it to the
Unix root) and the folders of its user are real folders, not Wine's links
to the home folder of whoever booted it. So a program in a prefix sees C:
and the drives mapped for it, and nothing of the host by a drive letter.
"""

import contextlib
import fcntl
import ntpath
import os
import re
import shutil
import subprocess
import threading
import time

from . import registry, sandbox

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
# The owner of the shared files where the templates are booted as root.
NOBODY = 65534

MARKER = ".e2e-template"
# Told in the marker beside Wine's version: a template of another layout is
# booted anew.
LAYOUT = "sealed: no Z:, no links to the host, fonts settled; shared files protected"
# Where Wine keeps the Windows version its programs see.
VERSION_KEY = "HKCU\\Software\\Wine"


class WineError(Exception):
    pass


def wine_version(way):
    try:
        return subprocess.run([way.loader, "--version"], capture_output=True, text=True,
                              timeout=30).stdout.strip()
    except (OSError, subprocess.TimeoutExpired) as error:
        raise WineError("%s does not run: %s" % (way.loader, error))


def environment(way, prefix, base=None):
    """The environment of a Wine program of this way in this prefix."""
    result = dict(os.environ if base is None else base)
    result.update(BASE_ENVIRONMENT)
    result.update(way.environment())
    result["WINEPREFIX"] = prefix
    return result


def _in_shared_folder(relative):
    return any(relative == f or relative.startswith(f + "/") for f in SHARED_FOLDERS)


def protect_shared(path):
    """Makes the system files that the copies of a template share read-only
    to the programs of a sandbox: a write to one would reach the template
    and every prefix made from it. Read-only alone stops a program whose
    user owns the file only until it changes the mode, so where this runs
    as root the files are given to nobody: a sandbox's programs keep no
    rights over files of other users."""
    for folder, _, files in os.walk(path):
        if not _in_shared_folder(os.path.relpath(folder, path)):
            continue
        for name in files:
            file_path = os.path.join(folder, name)
            if name.lower().endswith(SHARED_SUFFIXES) and not os.path.islink(file_path):
                os.chmod(file_path, 0o444)
                if os.geteuid() == 0:
                    os.chown(file_path, NOBODY, NOBODY)


def copy_prefix(source, target):
    """Copies a prefix, hard-linking the shared system files."""
    source = os.path.abspath(source)
    for folder, dirs, files in os.walk(source):
        relative = os.path.relpath(folder, source)
        os.makedirs(os.path.join(target, relative), exist_ok=True)
        shared_folder = _in_shared_folder(relative)
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


def _run(launcher, argv, env, timeout, what):
    """Runs a Wine program of a template prefix to its end; its output is
    told when it fails."""
    try:
        code, output = launcher.run(argv, os.path.dirname(env["WINEPREFIX"]), env, timeout)
    except subprocess.TimeoutExpired:
        raise WineError("%s did not end within %d s" % (what, timeout))
    if code != 0:
        raise WineError("%s failed (exit %d): %s" % (what, code, output[-2000:]))
    return output


def seal(path):
    """Takes away what links a prefix to the host: the drive Z:, and the
    links of the user's folders (Desktop, Documents, ...) to a home folder,
    which become empty folders of the prefix."""
    z_drive = os.path.join(path, "dosdevices", "z:")
    if os.path.lexists(z_drive):
        os.remove(z_drive)
    for folder, dirs, files in os.walk(os.path.join(path, "drive_c", "users")):
        for name in dirs + files:
            link = os.path.join(folder, name)
            if os.path.islink(link):
                os.remove(link)
                os.mkdir(link)


class Templates:
    """The template prefixes of one work folder and way, built on demand
    under a lock, so that cases running side by side share them."""

    def __init__(self, work_dir, way, sandboxed=True):
        self.way = way
        # A template booted outside the sandbox sees another set of fonts,
        # which Wine registers anew in a prefix made in the sandbox: each
        # kind of run has templates of its own.
        self.root = os.path.join(os.path.abspath(work_dir), "templates",
                                 way.name if sandboxed else way.name + "-no-sandbox")
        os.makedirs(self.root, exist_ok=True)
        self._version = None
        # Wine's own programs boot the templates, in a sandbox of their own
        # that may write the templates only.
        self._confinement = sandbox.Confinement(
            sandboxed, writable=[self.root], private=os.path.join(self.root, ".sandbox"))

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
            self._version = wine_version(self.way)
        return self._version

    def _ready(self, path):
        try:
            with open(os.path.join(path, MARKER)) as f:
                return f.read().split("\n")[:2] == [self._wine_version(), LAYOUT]
        except OSError:
            return False

    def _mark(self, path, seconds):
        with open(os.path.join(path, MARKER), "w") as f:
            f.write("%s\n%s\nbuilt in %.1f s\n" % (self._wine_version(), LAYOUT, seconds))

    def remove_all(self):
        with self._lock():
            for name in os.listdir(self.root):
                path = os.path.join(self.root, name)
                if name == ".sandbox":
                    continue
                if os.path.isdir(path):
                    shutil.rmtree(path)

    def _environment(self, prefix):
        host = os.environ
        if self._confinement.sandboxed:
            host = sandbox.host_variables(host)
        env = environment(self.way, prefix, host)
        env.pop("DISPLAY", None)  # no windows while a template boots
        return env

    def _run_all(self, path, steps):
        """Runs Wine programs in the prefix `path`, one after the other, each
        to its end: [(argv, timeout, what)]."""
        env = self._environment(path)
        launcher = self._confinement.launcher()
        try:
            for argv, timeout, what in steps:
                _run(launcher, argv, env, timeout, what)
        except BaseException:
            # Nothing of a template that did not boot may go on running; a
            # sandbox ends its programs when it closes.
            if not launcher.sandboxed:
                Prefix(path, env, self.way).kill()
            raise
        finally:
            launcher.close()

    def _build_base(self):
        path = os.path.join(self.root, "base")
        if self._ready(path):
            return path
        shutil.rmtree(path, ignore_errors=True)
        started = time.monotonic()
        self._run_all(path, [([self.way.loader, "wineboot", "-i"], 300, "wineboot -i"),
                             ([self.way.server, "-w"], 120, "wineserver -w")])
        seal(path)
        # The first programs after the seal register the fonts anew, under
        # the names that they have without Z:; the second leaves the
        # registry as it found it. So a prefix starts from where its
        # programs leave it.
        for _ in range(2):
            self._run_all(path, [([self.way.loader, "cmd", "/c", "exit"], 120, "cmd /c exit"),
                                 ([self.way.server, "-w"], 120, "wineserver -w")])
        if self._confinement.sandboxed:
            protect_shared(path)
        self._mark(path, time.monotonic() - started)
        return path

    def _play_version(self, path, windows_version):
        """Makes the programs of a prefix see this Windows version. winecfg
        sets it in a 32-bit prefix; in a 64-bit one it refuses the versions
        before winxp64, and the value it would write is written instead
        (GetVersionExA then answers as in a 32-bit prefix)."""
        if self.way.is_twin:
            settings = registry.Registry(path)
            settings.set(VERSION_KEY, "Version", windows_version)
            settings.save()
            return
        self._run_all(path, [([self.way.loader, "winecfg", "-v", windows_version], 120,
                              "winecfg -v " + windows_version),
                             ([self.way.server, "-w"], 120, "wineserver -w")])

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
            self._play_version(path, windows_version)
            self._mark(path, time.monotonic() - started)
            return path


def processes_in(folder):
    """The ids of the running processes whose WINEPREFIX lies in `folder`
    (every Wine process carries its prefix in its environment)."""
    folder = os.path.abspath(folder).encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue
        for item in environment:
            if item.startswith(b"WINEPREFIX=") and (item[11:] == folder
                                                    or item[11:].startswith(folder + b"/")):
                found.append(int(entry))
                break
    return found


class RelayCall:
    """One traced call: when (ms on Wine's tick clock, or None), which
    process and thread (hex texts as Wine prints them; the process is None
    without WINEDEBUG's +pid), the function as named in the trace, its
    arguments as one text and its return value (None until it returns)."""

    def __init__(self, time_ms, process, thread, function, arguments):
        self.time_ms = time_ms
        self.process = process
        self.thread = thread
        self.function = function
        self.arguments = arguments
        self.result = None

    def __repr__(self):
        return "<%s(%s) = %s>" % (self.function, self.arguments, self.result)


# "[1465.506:][0020:]0024:Call KERNEL32.CreateProcessA(...) ret=00409c3a" and
# "...:Ret  KERNEL32.CreateProcessA() retval=00000001 ret=00409c3a": the time
# and the process come with WINEDEBUG's +timestamp and +pid.
_RELAY_PREFIX = r"^(?:(\d+\.\d+):)?(?:([0-9a-f]{4,}):)?([0-9a-f]{4,}):"
_RELAY_CALL = re.compile(_RELAY_PREFIX + r"Call ([\w.]+)\((.*)\) ret=")
_RELAY_RETURN = re.compile(_RELAY_PREFIX + r"Ret  ([\w.]+)\(\) retval=([0-9a-f]+)")


class RelayReader:
    """Reads the traced calls of some functions ("user32.ExitWindowsEx";
    the module part without case) out of a log that Wine's relay trace
    writes into, a piece at a time while it grows: `read` returns the calls
    begun since the last read; a call's result is filled in when its return
    is read, even in a later piece."""

    def __init__(self, log_path, functions):
        self.log_path = log_path
        self._wanted = {self._key(f) for f in functions}
        self._offset = 0
        self._open = {}

    @staticmethod
    def _key(function):
        module, _, name = function.partition(".")
        return module.lower() + "." + name

    def read(self):
        found = []
        try:
            log = open(self.log_path, "rb")
        except FileNotFoundError:
            return found
        with log:
            log.seek(self._offset)
            data = log.read()
        # Only whole lines: the last one may still be being written.
        data = data[:data.rfind(b"\n") + 1]
        self._offset += len(data)
        for line in data.decode("latin-1").split("\n"):
            call = _RELAY_CALL.match(line)
            if call and self._key(call.group(4)) in self._wanted:
                stamp, process, thread, function, arguments = call.groups()
                traced = RelayCall(round(float(stamp) * 1000) if stamp else None, process,
                                   thread, function, arguments)
                self._open.setdefault((process, thread), []).append(traced)
                found.append(traced)
                continue
            returned = _RELAY_RETURN.match(line)
            if returned and self._key(returned.group(4)) in self._wanted:
                waiting = self._open.get(returned.group(2, 3))
                if waiting:
                    waiting.pop().result = int(returned.group(5), 16)
        return found


def relay_calls(log_path, function):
    """The calls of `function` ("user32.ExitWindowsEx") that Wine's relay
    trace wrote into a log: [(arguments text, return value or None)]."""
    return [(c.arguments, c.result) for c in RelayReader(log_path, [function]).read()]


_C_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}


def relay_arguments(text, code_page="cp1252"):
    """The arguments of a traced call, [(value, string or None)]: Wine
    prints each as a hex value, followed for a string by its text in quotes
    ("..." for an 8-bit string, L"..." for a wide one, with C escapes; the
    8-bit bytes are read in `code_page`)."""
    arguments = []
    i = 0
    while i < len(text):
        value = re.match(r"[0-9a-fA-F]+", text[i:])
        if not value:
            raise ValueError("not a relay argument list: %r" % text)
        i += value.end()
        string = None
        quoted = re.match(r' (L?)"', text[i:])
        if quoted:
            wide = quoted.group(1) == "L"
            i += quoted.end()
            pieces = []
            while text[i] != '"':
                if text[i] == "\\" and text[i + 1] == "x":
                    digits = 4 if wide else 2
                    code = int(text[i + 2:i + 2 + digits], 16)
                    pieces.append(chr(code) if wide else bytes([code]))
                    i += 2 + digits
                elif text[i] == "\\":
                    pieces.append(_C_ESCAPES.get(text[i + 1], text[i + 1]))
                    i += 2
                else:
                    pieces.append(text[i])
                    i += 1
            i += 1
            if text.startswith("...", i):
                i += 3
            raw = b"".join(p if isinstance(p, bytes) else p.encode("latin-1", "replace")
                           for p in pieces) if not wide else None
            string = "".join(pieces) if wide else raw.decode(code_page, "replace")
        arguments.append((value.group(0), string))
        if i < len(text):
            if text[i] != ",":
                raise ValueError("not a relay argument list: %r" % text)
            i += 1
    return arguments


class Prefix:
    """One prefix: paths between Unix and Windows, processes in it."""

    def __init__(self, path, base_environment, way, confinement=None):
        """`confinement` (sandbox.Confinement) keeps the prefix's programs;
        without one they run on the host."""
        self.path = os.path.abspath(path)
        self.way = way
        self.confinement = confinement or sandbox.Confinement(False)
        if self.confinement.sandboxed:
            base_environment = sandbox.host_variables(base_environment)
        self.environment = environment(way, self.path, base_environment)
        self.drive_c = os.path.join(self.path, "drive_c")
        self._launcher = None
        self._launcher_lock = threading.Lock()

    def launcher(self):
        """Where the prefix's programs start: made with the first one, with
        the drives mapped then (each drive but C: is read-only inside a
        sandbox, as a CD is)."""
        with self._launcher_lock:
            if self._launcher is None:
                drives = [folder for letter, folder in self.drives().items() if letter != "C:"]
                self._launcher = self.confinement.launcher(
                    readable=drives, display=self.environment.get("DISPLAY"),
                    xauthority=self.environment.get("XAUTHORITY"))
            return self._launcher

    def drives(self):
        """{"D:": Unix folder} of the drives mapped in the prefix, Z: (the
        whole Unix tree) and C: included."""
        folder = os.path.join(self.path, "dosdevices")
        found = {}
        for name in os.listdir(folder):
            if re.fullmatch(r"[a-z]:", name):
                found[name.upper()] = os.path.normpath(
                    os.path.join(folder, os.readlink(os.path.join(folder, name))))
        return found

    def map_drive(self, letter, unix_folder):
        """Makes a Unix folder a drive of the prefix ("D:"), as a CD drive
        letter or a network drive shows a media."""
        link = os.path.join(self.path, "dosdevices", letter.lower())
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(os.path.abspath(unix_folder), link)

    def windows_path(self, unix_path):
        """A Unix path as the programs in the prefix see it: on the drive
        whose folder holds it most closely, Z: at the least."""
        unix_path = os.path.abspath(unix_path)
        best = None
        for drive, folder in self.drives().items():
            if unix_path == folder or unix_path.startswith(folder.rstrip("/") + "/"):
                if best is None or len(folder) > len(best[1]):
                    best = (drive, folder)
        if best is None:
            # A folder on no drive: Wine names it in its Unix name space.
            return "\\\\?\\unix" + unix_path.replace("/", "\\")
        rest = unix_path[len(best[1].rstrip("/")):]
        return best[0] + (rest.replace("/", "\\") or "\\")

    def unix_path(self, windows_path):
        """A path on one of the prefix's drives as a Unix path. Names compare
        without case, as on Windows; components that do not exist keep their
        spelling."""
        drive, rest = ntpath.splitdrive(windows_path)
        current = self.drives().get(drive.upper())
        if current is None:
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
        return self.launcher().start([self.way.loader] + list(argv), cwd or self.drive_c,
                                     environment, log)

    def run(self, argv, timeout, cwd=None, env=None):
        """Runs `wine argv...` to its end; returns (exit code, output)."""
        environment = dict(self.environment)
        if env:
            environment.update(env)
        try:
            return self.launcher().run([self.way.loader] + list(argv), cwd or self.drive_c,
                                       environment, timeout)
        except subprocess.TimeoutExpired as expired:
            self.kill()
            raise WineError("wine %s did not end within %s s; output: %s"
                            % (" ".join(argv), timeout, expired.output or ""))

    def kill(self):
        """Ends every process of the prefix; the wineserver writes the
        registry files as it goes. In a sandbox, the sandbox ends next, and
        with it whatever else its programs started (a Unix program, which
        the wineserver does not know)."""
        with self._launcher_lock:
            launcher, self._launcher = self._launcher, None
        if launcher is None:
            if self.confinement.sandboxed:
                return  # nothing runs: every sandbox of the prefix has ended
            launcher = self.confinement.launcher()
        try:
            for step in ("-k", "-w"):
                try:
                    launcher.run([self.way.server, step], None, self.environment, 60)
                except (subprocess.TimeoutExpired, sandbox.SandboxError):
                    break
        finally:
            launcher.close()

    def close(self):
        """Ends whatever still runs; the prefix's programs are gone after."""
        self.kill()
