#!/usr/bin/env python3
"""The main job: the typical run of the installer on Windows XP, in a fresh
Wine prefix with the sound device, on a generated sample media, answered
automatically: the main options dialog with "Install Applications" cleared,
the driver notice, the restart prompt with "Yes"; under Wine the reboot
request restarts the session at once, and the installer comes back from the
Run key to swap in the new mixer. Prints the reboot request, what the
restart started, what the run changed and the screenshots it kept.

Run it through ./run_main.sh, which builds everything first. Options are the
end-to-end harness's (--visible shows the windows on $DISPLAY, --keep keeps the
prefix)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import run_case  # noqa: E402
from harness.installer import INF_FOLDER, MEDIA_CLASS_KEY, QUARNEL, REBOOT_CALL, WINDOWS  # noqa: E402
from harness.typical_run import SCREENSHOTS, TypicalRun  # noqa: E402

# The report's groups, by the start of a change's path (without case); the
# first that fits takes the change.
GROUPS = [
    ("Files under " + QUARNEL, ("file", "folder"), QUARNEL),
    ("The INF folder", ("file", "folder"), INF_FOLDER),
    ("Files in " + WINDOWS, ("file", "folder"), WINDOWS),
    ("The driver key", ("key", "value"), MEDIA_CLASS_KEY),
    ("The device", ("key", "value"), "HKLM\\System\\CurrentControlSet\\Enum\\"),
    ("Registry values", ("key", "value"), ""),
    ("Other files", ("file", "folder"), ""),
]


def group_of(change):
    kind = change.split(" ", 1)[0]
    path = change.split(": ", 1)[1].lower()
    for title, kinds, start in GROUPS:
        if kind in kinds and path.startswith(start.lower()):
            return title
    return "Other changes"


def report(run, changes):
    for arguments, result in run.case.traced_calls(REBOOT_CALL):
        print("Reboot request: ExitWindowsEx(%s) returned %s" % (arguments, result))
    for command in run.restart_commands():
        print("Run entry started by the restart: " + command)
    print("What the typical run changed:")
    for title in [g[0] for g in GROUPS] + ["Other changes"]:
        chosen = [c for c in changes if group_of(c) == title]
        if chosen:
            print("  %s:" % title)
            for change in chosen:
                print("    " + change)
    print("Screenshots:")
    screenshots = run.screenshots()
    for name in SCREENSHOTS:
        print("  %-15s %s" % (name, screenshots.get(name, "(not taken)")))


def main_job(case):
    run = TypicalRun(case)
    before = case.snapshot()
    run.drive()
    run.check()
    report(run, case.changes(before))


if __name__ == "__main__":
    run_case(main_job, windows="winxp", name="main_job")
