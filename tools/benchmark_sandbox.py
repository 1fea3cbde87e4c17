#!/usr/bin/env python3
"""Measures what the sandbox costs `tools/w2kmedia try`: paired runs of the
same try on the generated sample media, one sandboxed and one with
--no-sandbox, taken in turns so that a slow moment of the machine falls on
both. It prints each pair, the median difference in seconds and in per
cent of the run without the sandbox. The aim is at most 1 s, or 5 %. This
is a measurement, not a test: it fails only when a try itself does.

The first try of each kind boots its template prefixes and is not timed.

  tools/benchmark_sandbox.py [--pairs N] [--route short|main]

  short  Windows XP, Cancel in the main options dialog: the sandbox's fixed
         cost with the fewest of the installer's own waits around it
  main   the main job's run (the driver, the restart and the new mixer)
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_machine import host  # noqa: E402

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
W2KMEDIA = os.path.join(TOP, "tools", "w2kmedia")
ROUTES = {"short": ["--windows", "xp", "--cancel"],
          "main": ["--windows", "xp", "--apps", "no", "--earlier-driver"]}


def timed_try(media, work, out, flags):
    began = time.perf_counter()
    done = subprocess.run([W2KMEDIA, "try", media, "--work", work, "--out", out] + flags,
                          capture_output=True, text=True)
    seconds = time.perf_counter() - began
    if done.returncode != 0:
        sys.exit("benchmark_sandbox.py: try failed (%d):\n%s%s"
                 % (done.returncode, done.stdout, done.stderr))
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--pairs", type=int, default=3, help="timed pairs (default 3)")
    parser.add_argument("--route", choices=sorted(ROUTES), default="short")
    options = parser.parse_args()

    build = os.path.join(TOP, "build")
    helpers = os.path.join(build, host.way().windows_build("win32", "win64"), "e2e-helpers")
    if not os.path.isfile(os.path.join(build, "win32", "W2KSetup.exe")):
        sys.exit("benchmark_sandbox.py: build/win32/W2KSetup.exe is missing; run "
                 "./scripts/build.sh first")
    with tempfile.TemporaryDirectory(prefix="sandbox-bench-", dir=build) as folder:
        media = os.path.join(folder, "media")
        work = os.path.join(folder, "work")
        subprocess.run([sys.executable, os.path.join(TOP, "tools", "make_media.py"), media,
                        "--installer", os.path.join(build, "win32", "W2KSetup.exe"),
                        "--programs", os.path.join(helpers, "recorder.exe"),
                        "--web-setup", "0", "--quiet"], check=True)
        flags = ROUTES[options.route]
        kinds = (("sandboxed", []), ("--no-sandbox", ["--no-sandbox"]))
        for name, extra in kinds:
            print("booting the templates (%s, not timed) ..." % name, flush=True)
            timed_try(media, work, os.path.join(folder, "out"), flags + extra)
        differences, plain = [], []
        for pair in range(1, options.pairs + 1):
            seconds = {}
            # Alternate which goes first, so that neither always runs on a
            # machine that the other has just warmed up.
            for name, extra in (kinds if pair % 2 else kinds[::-1]):
                seconds[name] = timed_try(media, work, os.path.join(folder, "out"),
                                          flags + extra)
            difference = seconds["sandboxed"] - seconds["--no-sandbox"]
            differences.append(difference)
            plain.append(seconds["--no-sandbox"])
            print("pair %d: sandboxed %.2f s, --no-sandbox %.2f s, difference %+.2f s"
                  % (pair, seconds["sandboxed"], seconds["--no-sandbox"], difference),
                  flush=True)
    median = statistics.median(differences)
    print("route %s: the sandbox adds %+.2f s (median of %d pairs), %+.1f %% of the run "
          "without it (%.1f s); the aim is at most 1 s or 5 %%"
          % (options.route, median, len(differences), 100 * median / statistics.median(plain),
             statistics.median(plain)))


if __name__ == "__main__":
    main()
