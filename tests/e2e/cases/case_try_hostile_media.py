#!/usr/bin/env python3
"""`tools/w2kmedia try` keeps a hostile media's program inside its Windows.

The applications' setup program of an otherwise good media is the hostile
helper: it writes into the host's /tmp and home folder (by Z: and by
\\\\?\\unix\\), its user's Desktop and the media; reads files the case planted
in /tmp and the home folder and copies them onto C:; connects to a listener
of the case on 127.0.0.1; starts Unix shells, one of which writes a file
after the run has ended, and a detached copy of itself that does the same.

Under try none of it reaches the host, nothing is left running, and the
program's own record on C: shows that it ran and what each try gave; the
system files that its prefix shares with the templates it cannot write.

The ring runs the sandboxed way only. By hand, SETUP_HOSTILE_CONTROL=1 adds
the control: the same media under `try --no-sandbox`, where the program
reaches the host in each of those ways, so that each check here is shown to
be one that can fail:

    SETUP_HOSTILE_CONTROL=1 python3 tests/e2e/cases/case_try_hostile_media.py
"""
# ctest-timeout: 300

import glob
import os
import secrets
import socket
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import run_case  # noqa: E402
from try_runs import expect_no_wine_left, run_try, try_media  # noqa: E402

# How long the late programs wait before they write, after the program's
# start: longer than the rest of the run, so that they still run when try
# ends.
LATE_MS = 8000


class Host:
    """What the hostile program could reach on the host, planted and watched
    by the case under one token."""

    def __init__(self, case, media):
        self.case = case
        self.media = media
        self.token = "hostile-" + secrets.token_hex(6)
        self.home = os.path.expanduser("~")
        self.secret = ("%s %s" % (self.token, secrets.token_hex(24))).encode()
        self.secrets = [os.path.join("/tmp", self.token + "-secret"),
                        os.path.join(self.home, self.token + "-secret")]
        for path in self.secrets:
            with open(path, "wb") as f:
                f.write(self.secret)
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(4)
        self.listener.setblocking(False)
        with open(os.path.join(media.unix, "hostile.ini"), "w") as f:
            f.write("[hostile]\ntoken=%s\nport=%d\nhome=%s\nlate_ms=%d\n"
                    % (self.token, self.listener.getsockname()[1], self.home, LATE_MS))

    def files(self):
        """The host's files that the program made (the planted ones aside)."""
        found = []
        for folder in ("/tmp", "/var/tmp", self.home, self.media.unix):
            found += glob.glob(os.path.join(folder, "*" + self.token + "*"))
        return sorted(set(found) - set(self.secrets))

    def connections(self):
        """The bytes each connection to the listener sent."""
        received = []
        while True:
            try:
                peer, _ = self.listener.accept()
            except BlockingIOError:
                return received
            peer.settimeout(2)
            try:
                received.append(peer.recv(256))
            except OSError:
                received.append(b"")
            peer.close()

    def processes(self):
        """The running processes whose command line holds the token."""
        found = []
        for entry in os.listdir("/proc"):
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    line = f.read().replace(b"\0", b" ")
            except OSError:
                continue
            if entry.isdigit() and self.token.encode() in line:
                found.append("%s: %s" % (entry, line.decode(errors="replace")))
        return found

    def copied_secrets(self, prefix):
        """The copies the program made on C: that hold the secret."""
        leaked = []
        for path in glob.glob(os.path.join(prefix, "drive_c", "hostile", "copied-*.bin")):
            with open(path, "rb") as f:
                if self.secret in f.read():
                    leaked.append(path)
        return leaked

    def clean(self):
        for path in self.files() + self.secrets:
            os.remove(path)
        self.listener.close()


def record_of(case, run):
    """The hostile program's record on C:: {(what, where): result}."""
    prefix = run.report and run.report.get("prefix")
    path = os.path.join(prefix or "", "drive_c", "hostile", "record.txt")
    if not prefix or not os.path.isfile(path):
        case.fail("the hostile program left no record on C: (%s): it did not run" % path)
    with open(path, encoding="latin-1") as f:
        rows = [line.rstrip("\r\n").split("\t") for line in f if line.strip()]
    return {(row[0], row[1]): row[2] for row in rows if len(row) == 3}, prefix


def hostile_try(case, host, *flags):
    run = run_try(case, host.media.unix, "--windows", "xp", "--apps", "yes", "--driver", "no",
                  "--keep", *flags, out=os.path.join(case.artifacts, "try-" + host.token))
    case.expect_equal(run.exit_code, 0, "exit code of w2kmedia try (stderr: %s)" % run.stderr)
    record, prefix = record_of(case, run)
    case.log("the hostile program's record:\n%s"
             % "\n".join("%s %s: %s" % (k[0], k[1], v) for k, v in sorted(record.items())))
    case.expect(("done", next((k[1] for k in record if k[0] == "done"), "")) in record,
                "the hostile program did not get to its end: %s" % sorted(record))
    for what in ("write", "read", "connect", "shell", "late shell", "late windows"):
        case.expect(any(k[0] == what for k in record),
                    "the hostile program's record has no try to %s" % what)
    return run, record, prefix


def kept_inside(case, host):
    run, record, prefix = hostile_try(case, host)
    case.expect(run.report["sandbox"]["sandboxed"], "the report does not say the run was "
                "sandboxed: %s" % run.report["sandbox"])
    case.expect_equal(host.files(), [], "files the program made on the host")
    case.expect_equal(host.connections(), [], "connections that reached the listener")
    case.expect_equal(host.processes(), [], "processes left once try had ended")
    case.expect_equal(host.copied_secrets(prefix), [], "copies on C: of the host's files")
    case.expect(all(v != "ok" for k, v in record.items() if k[0] == "read"),
                "the program read a host file: %s" % record)
    if os.geteuid() == 0:
        case.expect(all(v != "ok" for k, v in record.items() if k[0] == "open shared"),
                    "the program could write a system file that other prefixes share")
    expect_no_wine_left(case, run)
    # The late programs' time: nothing of them may come back.
    time.sleep(LATE_MS / 1000 + 3)
    case.expect_equal(host.files(), [], "files on the host after the late programs' time")
    case.expect_equal(host.processes(), [], "processes after the late programs' time")


def reaches_the_host_without_sandbox(case, host):
    """The control: without the sandbox the same checks see the program
    get out, so that they are checks that can fail."""
    run, record, prefix = hostile_try(case, host, "--no-sandbox")
    case.expect(not run.report["sandbox"]["sandboxed"]
                and "NOT SANDBOXED" in run.report["sandbox"]["text"],
                "the report of --no-sandbox does not say so: %s" % run.report["sandbox"])
    case.expect(any(f.startswith("/tmp/") for f in host.files()),
                "without the sandbox, no file reached the host's /tmp: the check is blind")
    case.expect(host.token.encode() in b"".join(host.connections()),
                "without the sandbox, no connection reached the listener: the check is blind")
    case.expect(host.copied_secrets(prefix) != [],
                "without the sandbox, no host file was copied onto C:: the check is blind")
    case.expect(any(v == "ok" for k, v in record.items() if k[0] == "open shared"),
                "without the sandbox, a shared system file could not be opened for writing: "
                "the check is blind")
    deadline = time.monotonic() + LATE_MS / 1000 + 5
    while not any("late-shell" in f for f in host.files()) and time.monotonic() < deadline:
        time.sleep(0.2)
    case.expect(any("late-shell" in f for f in host.files()),
                "without the sandbox, the late shell left nothing: the check is blind")


def try_hostile_media(case):
    media = try_media(case, web_setup=0, package_setup=case.helper("hostile"))
    host = Host(case, media)
    try:
        kept_inside(case, host)
    finally:
        host.clean()
    if os.environ.get("SETUP_HOSTILE_CONTROL") != "1":
        return
    control = Host(case, media)
    try:
        reaches_the_host_without_sandbox(case, control)
    finally:
        time.sleep(0.5)
        control.clean()


if __name__ == "__main__":
    run_case(try_hostile_media, windows="winxp")
