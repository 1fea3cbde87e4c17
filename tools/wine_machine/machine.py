"""A Windows machine played by Wine: a fresh prefix on a chosen Windows
version, an X display, the helper programs that play the user and the
outside programs, and what a run left (screenshots, the helpers' records,
Wine's output) in an artifacts folder.

The end-to-end cases (tests/e2e) and `w2kmedia try` both run on a Machine.
"""

import os
import shutil
import subprocess
import threading
import time

from . import display as display_module
from . import files, records, registry, sandbox, wine

HARDWARE_ID = "PCI\\VEN_7E2D&DEV_0111"
RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"

# What Wine itself may change in a prefix while programs run, whatever they
# are: its own settings, the volatile hardware tree, and the display adapter
# and monitor entries that the display driver rewrites for the screen it
# finds. (A plain program run changes nothing else; add here only what a run
# shows to be Wine's.)
WINE_REGISTRY_NOISE = (
    r"^HKLM\\Hardware(\\|$)",
    r"^HKCU\\Software\\Wine(\\|$)",
    r"^HKLM\\System\\CurrentControlSet\\Control\\Class\\"
    r"\{4D36E968-E325-11CE-BFC1-08002BE10318\}(\\|$)",
    r"^HKLM\\System\\CurrentControlSet\\Control\\Class\\"
    r"\{4D36E96E-E325-11CE-BFC1-08002BE10318\}(\\|$)",
    r"^HKLM\\System\\CurrentControlSet\\Enum\\DISPLAY(\\|$)",
    r"^HKLM\\System\\CurrentControlSet\\Control\\Video(\\|$)",
    # Wine's audio device list, written when a program first asks winmm.
    r"^HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\MMDevices(\\|$)",
    # The network adapters, which a 64-bit prefix lists anew when its first
    # program starts.
    r"^HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards(\\|$)",
)
WINE_FILE_NOISE = (
    r"^C:\\windows\\temp(\\|$)",
    r"^C:\\users\\[^\\]+\\(Temp|AppData\\Local\\Temp)(\\|$)",
)


# The helper programs of the Windows build's e2e-helpers/ that a Machine starts.
HELPERS = ("recorder", "window_holder", "device_maker", "user")


def missing_helpers(windows_build, names=HELPERS):
    """The helper programs of `names` that the Windows build lacks."""
    folder = os.path.join(windows_build, "e2e-helpers")
    return [name for name in names if not os.path.isfile(os.path.join(folder, name + ".exe"))]


class MachineError(Exception):
    """Something on the machine did not go as it must; the text says what."""


class Process:
    """A program started in the prefix."""

    def __init__(self, case, popen, what):
        self.case = case
        self.popen = popen
        self.what = what
        self.exit_code = None
        self.seconds = None
        self._started = time.monotonic()

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """Waits for the end; a program still running after `timeout` seconds
        fails the case (after a screenshot and a list of the windows)."""
        try:
            self.exit_code = self.popen.wait(timeout * self.case.options.time_scale)
        except subprocess.TimeoutExpired:
            windows = self.case.describe_windows()
            self.case.screenshot("timeout")
            self.case.stop_wine()
            self.popen.kill()
            self.popen.wait()
            raise MachineError("%s did not end within %s s.\nVisible windows then:\n%s"
                               % (self.what, timeout, windows or "  (none)"))
        self.seconds = time.monotonic() - self._started
        self.case.log("%s ended with exit code %d after %.2f s"
                      % (self.what, self.exit_code, self.seconds))
        return self.exit_code


class Machine:
    """`options` holds: work (where prefixes go), windows_build (the build
    whose helper programs run here), way (host.way()), visible, winedebug,
    lang, time_scale, artifacts, and sandbox (False runs the programs on
    the host; by default they run in a sandbox whose only writable folder
    is this machine's work folder) and readable (folders that the programs
    may read besides the helpers and the drives)."""

    process_class = Process

    def __init__(self, name, windows, options, display=None, artifacts=None):
        """`artifacts`, when given, is a folder the caller has made ready for
        the artifacts; otherwise a fresh <options.artifacts>/<name> is."""
        self.name = name
        self.windows_version = windows
        self.options = options
        self.way = options.way
        self.started = time.monotonic()
        self.work = os.path.join(options.work, "cases", name)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        if artifacts is None:
            self.artifacts = os.path.join(options.artifacts, name)
            shutil.rmtree(self.artifacts, ignore_errors=True)
            os.makedirs(self.artifacts)
        else:
            self.artifacts = artifacts
        # Wine's output is written in the work folder, the one folder that its
        # programs may write, and kept with the artifacts at the end.
        self.wine_log = os.path.join(self.work, "wine.log")
        self._log = open(self.wine_log, "a", buffering=1, errors="replace")
        self._shots = 0
        self._shot_lock = threading.Lock()
        self._acked = set()
        self._wine_started = False
        self._registry = None
        self._children = []

        self.helpers = os.path.join(options.windows_build, "e2e-helpers")
        missing = missing_helpers(options.windows_build)
        if missing:
            raise MachineError("helper %s is missing: build the Windows configuration "
                               "(scripts/build.sh)" % self.helper(missing[0]))

        self.sandboxed = getattr(options, "sandbox", True)
        began = time.monotonic()
        template = wine.Templates(options.work, self.way, self.sandboxed).template(windows)
        self.log("template %s ready after %.2f s" % (windows, time.monotonic() - began))
        began = time.monotonic()
        wine.copy_prefix(template, os.path.join(self.work, "prefix"))
        os.remove(os.path.join(self.work, "prefix", wine.MARKER))
        self.log("prefix copied in %.2f s" % (time.monotonic() - began))
        confinement = sandbox.Confinement(self.sandboxed, writable=[self.work],
                                          readable=[self.helpers]
                                          + list(getattr(options, "readable", [])),
                                          private=os.path.join(self.work, "sandbox"))
        self.prefix = wine.Prefix(os.path.join(self.work, "prefix"), os.environ, self.way,
                                  confinement)
        if not options.visible:
            # No window manager runs on Xvfb, and winex11 waits 2 s for one
            # whenever a managed window is hidden or destroyed (a closed
            # mixer would take 2 s to go). Unmanaged windows go at once.
            self.reg_set("HKCU\\Software\\Wine\\X11 Driver", "Managed", "N")

        if display is not None:
            self.display = display
        elif options.visible:
            self.display = display_module.Display.current()
        else:
            self.display = display_module.Display.xvfb(self._log)
        self.record_file = os.path.join(self.work, "records.txt")
        environment = {"DISPLAY": self.display.name, "E2E_RECORD_FILE": self.record_file}
        # Your display's cookie, which a sandbox's programs need to use it.
        xauthority = os.environ.get("XAUTHORITY") or os.path.expanduser("~/.Xauthority")
        if options.visible and os.path.isfile(xauthority):
            environment["XAUTHORITY"] = xauthority
        if options.winedebug:
            environment["WINEDEBUG"] = options.winedebug
        if options.lang:
            environment["LANG"] = environment["LC_ALL"] = options.lang
        self.prefix.environment.update(environment)

        self._watching = True
        self._watcher = threading.Thread(target=self._answer_snapshots, daemon=True)
        self._watcher.start()

    # ---- paths and programs ---------------------------------------------

    def helper(self, name):
        return os.path.join(self.helpers, name + ".exe")

    def windows_path(self, unix_path):
        return self.prefix.windows_path(unix_path)

    def unix_path(self, windows_path):
        return self.prefix.unix_path(windows_path)

    def log(self, text):
        self._log.write("[e2e %6.2f] %s\n" % (time.monotonic() - self.started, text))

    # ---- registry ---------------------------------------------------------

    def stop_wine(self):
        """Ends every process in the prefix, so that its registry files are
        current (and can be edited)."""
        if self._wine_started:
            began = time.monotonic()
            self.prefix.kill()
            self._wine_started = False
            self.log("wineserver ended in %.2f s" % (time.monotonic() - began))
        self._registry = None

    def registry(self):
        """The prefix's registry as its files hold it (stops Wine first)."""
        if self._wine_started or self._registry is None:
            self.stop_wine()
            self._registry = registry.Registry(self.prefix.path)
        return self._registry

    def reg_set(self, path, name, data, type=None):
        """Plants a value before the programs run (REG_SZ for a str, ...)."""
        reg = self.registry()
        reg.set(path, name, data, type)
        reg.save()

    def reg_create_key(self, path):
        reg = self.registry()
        reg.create_key(path)
        reg.save()

    def reg_value(self, path, name):
        """The registry.Value, or None."""
        return self.registry().value(path, name)

    # ---- files ------------------------------------------------------------

    def read_file(self, windows_path):
        path = self.unix_path(windows_path)
        if not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def exists(self, windows_path):
        return os.path.exists(self.unix_path(windows_path))

    def put_file(self, windows_path, data=None, source=None):
        """Places a file in the prefix: bytes, or a copy of a Unix file."""
        path = self.unix_path(windows_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if source is not None:
            shutil.copyfile(source, path)
        else:
            with open(path, "wb") as f:
                f.write(data)

    def read_ini(self, windows_path):
        """{section: {key: value}} (names in lower case), or None."""
        data = self.read_file(windows_path)
        return None if data is None else files.parse_ini(data)

    # ---- snapshots of the whole prefix -----------------------------------

    def snapshot(self):
        """Files of drive C and every registry value, for `changes`. The
        registry comes first: reading it ends Wine, so the files are read
        while nothing writes them."""
        registry_snapshot = self.registry().snapshot()
        return (files.snapshot(self.prefix.drive_c), registry_snapshot)

    def changes(self, before, after=None, ignore=()):
        """What changed between two snapshots (the second one taken now when
        not given), without what Wine changes on its own."""
        after = after or self.snapshot()
        lines = files.diff(before[0], after[0], WINE_FILE_NOISE + tuple(ignore))
        lines += registry.diff(before[1], after[1], WINE_REGISTRY_NOISE + tuple(ignore))
        return lines

    # ---- programs ---------------------------------------------------------

    def _start(self, argv, cwd, env, what):
        self._registry = None
        self._wine_started = True
        unix_cwd = cwd if cwd is None or cwd.startswith("/") else self.unix_path(cwd)
        self.log("start %s (in %s): wine %s" % (what, cwd or "C:\\", " ".join(argv)))
        popen = self.prefix.start(argv, cwd=unix_cwd, env=env, log=self._log)
        process = self.process_class(self, popen, what)
        self._children.append(process)
        return process

    def start(self, program, args=(), cwd=None, env=None):
        """Starts any program (a Windows path) with `args` in the prefix."""
        if isinstance(args, str):
            args = args.split()
        return self._start([program] + list(args), cwd, env, program)

    def start_installer(self, media=None, args=(), program=None, cwd=None, env=None):
        """Starts the installer: `program` (a Windows path; default the media's
        W2KSetup.exe) with `args` (a list, or a str split at blanks), in the
        folder `cwd` (default the program's own folder)."""
        if program is None:
            if media is None:
                raise ValueError("start_installer needs media or program")
            program = media.path("W2KSetup.exe")
        if isinstance(args, str):
            args = args.split()
        if cwd is None:
            cwd = program.rsplit("\\", 1)[0] + "\\"
        return self._start([program] + list(args), cwd, env,
                           "the installer (%s)" % " ".join([program] + list(args)))

    def run_installer(self, media=None, args=(), program=None, cwd=None, env=None, timeout=30):
        """start_installer and wait for its end (failing after `timeout` s)."""
        process = self.start_installer(media, args, program, cwd, env)
        process.wait(timeout)
        return process

    def run_command_line(self, command_line, cwd=None, timeout=30):
        """Runs exactly this command line (CreateProcessA through the user
        helper), as Windows runs a Run-key entry; returns the exit code.
        `wine program args` cannot give every form: it always quotes the
        program."""
        def quoted(text):
            return '"%s"' % text.replace('"', '""')
        script = "start %s%s\nwait-exit %d\n" % (quoted(command_line),
                                                  " " + quoted(cwd) if cwd else "",
                                                  timeout * 1000 * self.options.time_scale)
        self.user(script, timeout=timeout + 20)
        ended = [r for r in self.records("user-step")
                 if r.get("result", "").startswith("ended with exit code ")]
        return int(ended[-1]["result"].split()[-1])

    def hold_window(self, title, program=None, max_ms=120000, wait=10):
        """Starts a window holder with this title and waits until its window
        exists. `program` runs it from that Windows path (to play, say, a
        running C:\\windows\\Mixer.exe); a copy is placed there when the file
        is not there yet."""
        if program is None:
            program = self.windows_path(self.helper("window_holder"))
        elif not self.exists(program):
            self.put_file(program, source=self.helper("window_holder"))
        process = self._start([program, "--max-ms", str(max_ms), title], None, None,
                              "window holder \"%s\"" % title)
        self.wait_for_record("ready", title=title, timeout=wait)
        return process

    def _user_script(self, script, encoding=None):
        self._scripts = getattr(self, "_scripts", 0) + 1
        path = os.path.join(self.work, "user-%d.txt" % self._scripts)
        with open(path, "w", encoding=encoding) as f:
            f.write(script.strip() + "\n")
        shutil.copy(path, self.artifacts)
        return path

    def start_user(self, script, env=None, encoding=None):
        """Starts the user helper on a script (see helpers/user.c) and returns
        at once. The helper is an ANSI program: a script with texts in another
        language is written in that language's code page (`encoding`, such as
        "cp950") and run with its locale (`env`, such as {"LANG": ...})."""
        path = self._user_script(script, encoding)
        process = self._start([self.windows_path(self.helper("user")), self.windows_path(path)],
                              None, env, "the user (%s)" % os.path.basename(path))
        process.script = self.windows_path(path)
        return process

    def user(self, script, timeout=60, env=None, encoding=None):
        """Runs a user script to its end; a failed step fails the case with
        what the user saw."""
        process = self.start_user(script, env, encoding)
        process.wait(timeout)
        failed = self.records("user-failed")
        if process.exit_code != 0 and failed:
            raise MachineError("the user failed at \"%s\": %s"
                               % (failed[-1]["step"], failed[-1]["reason"]))
        if process.exit_code != 0 or not self.records("user-done", script=process.script):
            raise MachineError("the user did not finish its script %s (exit code %d)"
                               % (os.path.basename(self.unix_path(process.script)),
                                  process.exit_code))
        return process

    def device_maker(self, *args):
        self._registry = None
        self._wine_started = True
        code, output = self.prefix.run([self.windows_path(self.helper("device_maker"))]
                                       + list(args), timeout=60)
        self.log("device_maker %s -> %d\n%s" % (" ".join(args), code, output))
        if code != 0:
            raise MachineError("device_maker %s failed: %s" % (" ".join(args), output.strip()))
        return output

    def add_device(self, *hardware_ids):
        """Creates a present media-class device ROOT\\MEDIA\\nnnn with these
        hardware IDs (default: the sound device's); returns its instance ID."""
        output = self.device_maker("add", *(hardware_ids or (HARDWARE_ID,)))
        return output.split("instance=", 1)[1].split()[0]

    def devices(self):
        """[{instance, hwids (list), driver}] of the present devices."""
        result = []
        for line in self.device_maker("list").splitlines():
            if line.startswith("device\t"):
                fields = dict(f.split("=", 1) for f in line.split("\t")[1:])
                fields["hwids"] = [h for h in fields.get("hwids", "").split("|") if h]
                result.append(fields)
        return result

    def describe_windows(self):
        """The visible top-level windows, one line each (for failure messages)."""
        if not self._wine_started:
            return ""
        before = len(self.records("windows"))
        path = self._user_script("list")
        try:
            self.prefix.run([self.windows_path(self.helper("user")), self.windows_path(path)],
                            timeout=20)
        except wine.WineError as error:
            return "  (cannot list them: %s)" % error
        found = self.records("windows")[before:]
        if not found:
            return ""
        return "\n".join("  " + v for k, v in sorted(found[-1].fields.items())
                         if k.startswith("window"))

    # ---- records ----------------------------------------------------------

    def records(self, kind=None, program=None, **fields):
        """The helpers' records, oldest first, chosen by kind, program file
        name (without case) and field values."""
        return records.select(records.read(self.record_file), kind, program, **fields)

    def wait_for_record(self, kind, program=None, timeout=5, **fields):
        deadline = time.monotonic() + timeout * self.options.time_scale
        while True:
            found = self.records(kind, program, **fields)
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise MachineError("no \"%s\" record%s%s within %s s; records so far:\n%s"
                                   % (kind, " of " + program if program else "",
                                      " with %s" % fields if fields else "", timeout,
                                      self.describe_records()))
            time.sleep(0.05)

    def step_tick(self, step, after=None):
        """The user's tick (ms) at the first step `step` (its text without the
        indentation), or None; with `after`, the first one that follows the
        first step beginning with `after`."""
        steps = self.records("user-step")
        if after is not None:
            begun = [i for i, r in enumerate(steps) if r["step"].strip().startswith(after)]
            steps = steps[begun[0] + 1:] if begun else []
        found = [r for r in steps if r["step"].strip() == step]
        return int(found[0]["tick"]) if found else None

    def describe_records(self):
        return "\n".join("  %r" % r for r in self.records()) or "  (none)"

    # ---- Wine's call traces -----------------------------------------------

    def trace_calls(self, *functions):
        """Makes Wine trace the calls of these DLL functions ("user32.ExitWindowsEx")
        in the programs started with the environment returned; their calls and
        results then come back from `traced_calls`. Plants a registry value, so
        it belongs before the programs start. Each call carries its time and
        process (see wine.RelayCall)."""
        self.reg_set("HKCU\\Software\\Wine\\Debug", "RelayInclude", ";".join(functions))
        return {"WINEDEBUG": "-all,+relay,+pid,+timestamp"}

    def traced_calls(self, function):
        """[(arguments text, return value)] of every traced call of `function`
        in wine.log, oldest first; the return value is None for a call that
        did not return."""
        return wine.relay_calls(self.wine_log, function)

    # ---- screenshots ------------------------------------------------------

    def screenshot(self, name):
        with self._shot_lock:
            self._shots += 1
            path = os.path.join(self.artifacts, "%02d-%s.png" % (self._shots, name))
        error = self.display.screenshot(path)
        if error:
            self.log("screenshot %s failed: %s" % (name, error))
        return path

    def _answer_snapshots(self):
        # The user helper's "snapshot NAME" step waits for <record file>.ack.NAME.
        while self._watching:
            for record in self.records("snapshot"):
                name = record.get("name", "")
                if name and name not in self._acked:
                    self._acked.add(name)
                    self.screenshot(name)
                    open(self.record_file + ".ack." + name, "w").close()
            time.sleep(0.05)

    # ---- the end ----------------------------------------------------------

    def finish(self):
        self._watching = False
        for process in self._children:
            if process.running():
                self.log("still running at the end: %s" % process.what)
            elif process.exit_code is None:
                self.log("ended unwaited: %s, with exit code %s (its low byte)"
                         % (process.what, process.popen.returncode))
        self.stop_wine()
        if self.sandboxed:
            self.prefix.kill()  # a sandbox that is still open ends, with all in it
        for process in self._children:
            if process.running():
                process.popen.kill()
                process.popen.wait()
        self.display.stop()
        if os.path.exists(self.record_file):
            shutil.copy(self.record_file, self.artifacts)
        self._log.close()
        shutil.copy(self.wine_log, self.artifacts)
