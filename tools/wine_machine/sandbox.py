"""Where the programs of a prefix run: in a sandbox that the host can trust
(bubblewrap), or, when asked for, on the host itself.

Wine is no boundary: a Windows program reaches the whole host through Unix
paths and can start Unix programs. So every program that runs in a prefix,
Wine's own included, is started inside one sandbox:

- files: a root of its own, with Wine's installation and what it reads
  visible read-only, the folders given as readable (the helper programs, the
  media) read-only, and only the folders given as writable (this run's work
  folder) writable; the host's home, /tmp, /var/tmp and /root are not there;
- network: a network namespace of its own with nothing but its loopback;
- processes: a process namespace of its own whose first process is the
  agent (sandbox_agent.py); every program is the agent's child, and ending
  the agent ends them all, Unix programs started by a Windows program too;
- display: only the socket of the one X display it is given.

A Sandbox is made when the first program starts and closed when the
prefix's programs are ended; the same folders may then get a new one.
"""

import json
import os
import pwd
import grp
import shutil
import socket
import subprocess
import tempfile
import threading
import time

AGENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sandbox_agent.py")
AGENT_INSIDE = "/run/agent/sandbox_agent.py"
# The sandbox's own Python, for the agent: the system's, under /usr.
PYTHON = "/usr/bin/python3"
BWRAP = "bwrap"
INSTALL_HINT = ("install bubblewrap (apt-get install bubblewrap) on a system that allows "
                "user namespaces, or run without the sandbox with --no-sandbox")

# What Wine needs of the host, read-only: its loader and libraries, its data,
# the fonts and their cache, Xlib's locale tables, the time zone, and the shell
# that its server script runs under. Paths missing on a machine are left out.
READ_ONLY_SYSTEM = (
    "/usr/lib", "/usr/lib32", "/usr/lib64", "/usr/libx32",
    "/usr/share/wine", "/usr/share/fonts", "/usr/share/fontconfig", "/usr/share/X11",
    "/usr/share/zoneinfo", "/usr/bin/sh", "/usr/bin/dash", "/usr/bin/python3",
    "/etc/ld.so.cache", "/etc/fonts", "/etc/localtime", "/var/cache/fontconfig",
)
MERGED_USR_LINKS = (("usr/lib", "/lib"), ("usr/lib64", "/lib64"), ("usr/bin", "/bin"),
                    ("usr/lib32", "/lib32"))
# Variables of the host that a program inside may see; everything else (the
# host's paths, tokens, ...) stays outside.
PASSED_VARIABLES = ("LANG", "LANGUAGE", "TZ")
PASSED_PREFIXES = ("LC_", "WINE", "E2E_")


def host_variables(env):
    """Of the host's environment, what a program in a sandbox may be given:
    the language and Wine's settings, not the host's paths or tokens."""
    return {name: value for name, value in env.items()
            if name in PASSED_VARIABLES or name.startswith(PASSED_PREFIXES)}


class SandboxError(Exception):
    """No sandbox can be made here; the text says why and what helps."""


class Launcher:
    """Starts the programs of a prefix (`start`, which returns a process
    with Popen's poll, wait and kill) and runs one to its end (`run`)."""

    def run(self, argv, cwd, env, timeout):
        """(exit code, output); subprocess.TimeoutExpired, with the output
        so far, when the program is still running after `timeout` s (it is
        left running)."""
        with tempfile.TemporaryFile() as output:
            process = self.start(argv, cwd, env, output)
            try:
                code = process.wait(timeout)
            except subprocess.TimeoutExpired as expired:
                output.seek(0)
                expired.output = output.read().decode("utf-8", "replace")
                raise
            output.seek(0)
            return code, output.read().decode("utf-8", "replace")

    def close(self):
        pass


class HostProcesses(Launcher):
    """Programs started on the host itself, as without the sandbox."""

    sandboxed = False

    def start(self, argv, cwd, env, output=None):
        return subprocess.Popen(argv, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                stdout=output or subprocess.DEVNULL,
                                stderr=subprocess.STDOUT if output else subprocess.DEVNULL,
                                start_new_session=True)


class SandboxedProcess:
    """A program inside a sandbox, with the part of subprocess.Popen's ways
    that the machinery uses."""

    def __init__(self, sandbox, ident, argv):
        self.sandbox = sandbox
        self.ident = ident
        self.args = argv
        self.pid = None
        self.returncode = None
        self._ended = threading.Event()

    def _end(self, code):
        self.returncode = code
        self._ended.set()

    def poll(self):
        return self.returncode

    def wait(self, timeout=None):
        if not self._ended.wait(timeout):
            raise subprocess.TimeoutExpired(self.args, timeout)
        return self.returncode

    def kill(self):
        if self.returncode is None:
            try:
                self.sandbox._send({"op": "kill", "id": self.ident})
            except (SandboxError, OSError):
                pass  # the sandbox has ended, and the program with it

    terminate = kill


def _user_files(folder):
    """/etc/passwd and /etc/group of one line each, for the user that runs
    here: Wine names the prefix's user folder after it."""
    user = pwd.getpwuid(os.getuid())
    try:
        group = grp.getgrgid(os.getgid()).gr_name
    except KeyError:
        group = user.pw_name
    passwd = os.path.join(folder, "passwd")
    groups = os.path.join(folder, "group")
    with open(passwd, "w") as f:
        f.write("%s:x:%d:%d::%s:/bin/sh\n" % (user.pw_name, os.getuid(), os.getgid(),
                                            os.path.join(folder, "home")))
    with open(groups, "w") as f:
        f.write("%s:x:%d:\n" % (group, os.getgid()))
    return passwd, groups


def display_socket(display):
    """The Unix socket of a local X display (":N" or ":N.S"), or None."""
    if not display or not display.startswith(":"):
        return None
    number = display[1:].split(".")[0]
    path = "/tmp/.X11-unix/X" + number
    return path if number.isdigit() and os.path.exists(path) else None


class Sandbox(Launcher):
    """One bubblewrap sandbox and its agent. `writable` and `readable` are
    folders of the host, visible inside at the same paths; a readable one
    inside a writable one stays read-only. `display` is the X display the
    programs may use (its socket only; an X authority file with it).
    `private` is a writable folder of the host for the sandbox's own files
    (its home, the user files)."""

    sandboxed = True

    def __init__(self, writable, readable, private, display=None, xauthority=None):
        if shutil.which(BWRAP) is None:
            raise SandboxError("bubblewrap (bwrap) is not installed: " + INSTALL_HINT)
        if not os.path.exists(PYTHON):
            raise SandboxError("%s is missing, which runs the sandbox's agent: install "
                               "python3 (apt-get install python3)" % PYTHON)
        self.private = os.path.abspath(private)
        self.home = os.path.join(self.private, "home")
        os.makedirs(self.home, exist_ok=True)
        self.writable = [os.path.abspath(p) for p in writable]
        self.readable = [os.path.abspath(p) for p in readable if os.path.exists(p)]
        self.display = display
        self.xauthority = xauthority if xauthority and os.path.isfile(xauthority) else None
        self._next = 0
        self._lock = threading.Lock()
        self._processes = {}
        self._waiting = {}
        self._closed = False
        self._host_end, agent_end = socket.socketpair(socket.AF_UNIX, socket.SOCK_SEQPACKET)
        argv = self.command(agent_end.fileno())
        try:
            self._bwrap = subprocess.Popen(argv, pass_fds=[agent_end.fileno()],
                                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.PIPE, start_new_session=True)
        except OSError as error:
            self._host_end.close()
            raise SandboxError("bwrap does not start: %s; %s" % (error, INSTALL_HINT))
        finally:
            agent_end.close()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self._check_started()

    def command(self, agent_descriptor):
        """The bwrap command line of this sandbox."""
        passwd, groups = _user_files(self.private)
        argv = [BWRAP, "--unshare-all", "--die-with-parent", "--new-session",
                "--proc", "/proc", "--dev", "/dev", "--tmpfs", "/tmp", "--dir", "/var/tmp",
                "--ro-bind", passwd, "/etc/passwd", "--ro-bind", groups, "/etc/group",
                "--ro-bind", AGENT, AGENT_INSIDE]
        for path in READ_ONLY_SYSTEM:
            if os.path.lexists(path):
                argv += ["--ro-bind", path, path]
        for target, link in MERGED_USR_LINKS:
            if os.path.islink(link) and os.path.exists("/" + target):
                argv += ["--symlink", target, link]
        for path in self.writable:
            argv += ["--bind", path, path]
        # After the writable folders, so that a readable folder inside one
        # (a media below the work folder) is read-only there.
        for path in self.readable:
            argv += ["--ro-bind", path, path]
        socket_path = display_socket(self.display)
        if socket_path:
            argv += ["--ro-bind", socket_path, socket_path]
        if self.xauthority:
            argv += ["--ro-bind", self.xauthority, os.path.join(self.private, "Xauthority")]
        argv += ["--chdir", "/", "--", PYTHON, "-I", "-S", AGENT_INSIDE, str(agent_descriptor)]
        return argv

    def _check_started(self):
        """Asks the agent for a trivial program, so that a sandbox that
        cannot be made is told now, with bwrap's own words."""
        try:
            code = self.start(["/usr/bin/sh", "-c", "exit 0"], "/", {}).wait(30)
            problem = None if code == 0 else "its first program ended with %s" % code
        except (SandboxError, subprocess.TimeoutExpired) as error:
            problem = str(error)
        if problem:
            self.close()
            raise SandboxError("no sandbox can be made here (%s): %s" % (problem, INSTALL_HINT))

    def environment(self, env):
        """The environment of a program inside: what it is given, with the
        sandbox's own home, search path and X authority."""
        inside = dict(env)
        inside.update({"PATH": "/usr/bin:/bin", "HOME": self.home, "TMPDIR": "/tmp"})
        inside["USER"] = inside["LOGNAME"] = pwd.getpwuid(os.getuid()).pw_name
        inside.pop("XAUTHORITY", None)
        if self.xauthority:
            inside["XAUTHORITY"] = os.path.join(self.private, "Xauthority")
        return inside

    # ---- the agent ----------------------------------------------------------

    def _send(self, message, descriptors=()):
        data = json.dumps(message).encode()
        with self._lock:
            if self._closed:
                raise SandboxError("the sandbox has ended")
            socket.send_fds(self._host_end, [data], list(descriptors))

    def _read(self):
        while True:
            try:
                data = self._host_end.recv(1 << 20)
            except OSError:
                data = b""
            if not data:
                break
            message = json.loads(data)
            with self._lock:
                process = self._processes.get(message["id"])
            if process is None:
                continue
            if "exit" in message:
                process._end(message["exit"])
            else:
                process.pid = message.get("pid")
                process.error = message.get("error")
                self._waiting.pop(message["id"]).set()
        # The agent is gone, and with it every program inside.
        with self._lock:
            self._closed = True
            processes = list(self._processes.values())
            waiting = list(self._waiting.values())
        for process in processes:
            if process.returncode is None:
                process._end(-9)
        for event in waiting:
            event.set()

    def start(self, argv, cwd, env, output=None):
        """Starts a program inside; its output goes to `output` (a file of
        the host, open for writing), else nowhere."""
        with self._lock:
            closed = self._closed
            self._next += 1
            ident = self._next
            process = SandboxedProcess(self, ident, list(argv))
            process.error = None
            self._processes[ident] = process
            started = self._waiting[ident] = threading.Event()
        descriptors = [output.fileno()] if output is not None else []
        try:
            if not closed:
                self._send({"op": "start", "id": ident, "argv": list(argv), "cwd": cwd or "/",
                            "env": self.environment(env)}, descriptors)
        except (SandboxError, OSError):
            closed = True
        if closed or not started.wait(30) or process.pid is None:
            problem = process.error or self._bwrap_said() or "the agent did not answer"
            raise SandboxError("%s cannot start in the sandbox: %s" % (argv[0], problem))
        return process

    def _bwrap_said(self):
        try:
            self._bwrap.wait(2)
        except subprocess.TimeoutExpired:
            return ""
        return (self._bwrap.stderr.read() or b"").decode(errors="replace").strip()

    def close(self):
        """Ends the sandbox and everything in it."""
        with self._lock:
            already = self._closed
            self._closed = True
        if not already:
            try:
                self._host_end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        try:
            self._bwrap.wait(10)
        except subprocess.TimeoutExpired:
            self._bwrap.kill()
            self._bwrap.wait()
        self._reader.join(10)
        self._host_end.close()
        if self._bwrap.stderr:
            self._bwrap.stderr.close()


class Confinement:
    """How the programs of one prefix are kept: inside a sandbox whose only
    writable folders are `writable` (and which sees `readable` read-only),
    or on the host (`sandboxed` False). `private` is the writable folder
    for the sandbox's own files."""

    def __init__(self, sandboxed, writable=(), readable=(), private=None):
        self.sandboxed = sandboxed
        self.writable = [os.path.abspath(p) for p in writable]
        self.readable = [os.path.abspath(p) for p in readable]
        self.private = private
        # What the sandboxes made so far showed, for a report.
        self.shown_readable = []
        self.shown_displays = []

    def launcher(self, readable=(), display=None, xauthority=None):
        """A launcher for the prefix's programs; `readable` adds folders
        that the programs may read (the drives' folders)."""
        if not self.sandboxed:
            return HostProcesses()
        made = Sandbox(self.writable, self.readable + list(readable), self.private,
                       display, xauthority)
        for path in made.readable:
            if path not in self.shown_readable:
                self.shown_readable.append(path)
        if display and display not in self.shown_displays:
            self.shown_displays.append(display)
        return made

    def describe(self):
        """What the programs could reach, as plain data for a report."""
        if not self.sandboxed:
            return {"sandboxed": False}
        return {"sandboxed": True, "tool": bwrap_version(), "writable": self.writable,
                "read_only": self.shown_readable,
                "system_read_only": [p for p in READ_ONLY_SYSTEM if os.path.lexists(p)],
                "displays": self.shown_displays}


def bwrap_version():
    try:
        return subprocess.run([BWRAP, "--version"], capture_output=True, text=True,
                              timeout=10).stdout.strip()
    except (OSError, subprocess.TimeoutExpired):
        return BWRAP


def check_available():
    """Makes a sandbox once and ends it; returns the seconds that took, or
    raises SandboxError when none can be made here (bubblewrap missing, or
    namespaces not allowed)."""
    private = tempfile.mkdtemp(prefix="sandbox-check-")
    try:
        began = time.monotonic()
        Sandbox([], [], private).close()
        return time.monotonic() - began
    finally:
        shutil.rmtree(private, ignore_errors=True)
