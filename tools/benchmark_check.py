#!/usr/bin/env python3
"""Measures `w2kmedia check` on the generated sample media: every Windows
version, every start, wall time of the whole program as a person runs it.
The aim is at most 1 s. This is a measurement, not a test: it fails only
when the check itself does.

Needs both builds (./scripts/build.sh): the installer and the recorder from
build/win32 for the sample media, w2kmedia from build/native.

  tools/benchmark_check.py [--runs N] [--build-dir DIR]
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=20, help="how many checks (default 20)")
    parser.add_argument("--build-dir", default=os.path.join(TOP, "build"),
                        help="holding native/ and win32/ (default build/)")
    options = parser.parse_args()

    w2kmedia = os.path.join(options.build_dir, "native", "src", "media_tool", "w2kmedia")
    win32 = os.path.join(options.build_dir, "win32")
    for needed in (w2kmedia, os.path.join(win32, "W2KSetup.exe")):
        if not os.path.isfile(needed):
            sys.exit("benchmark_check.py: %s is missing; run ./scripts/build.sh first" % needed)

    with tempfile.TemporaryDirectory(prefix="w2kmedia-bench-") as work:
        media = os.path.join(work, "media")
        subprocess.run([sys.executable, os.path.join(TOP, "tools", "make_media.py"), media,
                        "--installer", os.path.join(win32, "W2KSetup.exe"),
                        "--programs", os.path.join(win32, "e2e-helpers", "recorder.exe"),
                        "--web-setup", "0", "--quiet"], check=True)
        seconds = []
        for _ in range(options.runs):
            began = time.perf_counter()
            done = subprocess.run([w2kmedia, "check", media], capture_output=True)
            seconds.append(time.perf_counter() - began)
            if done.returncode != 0:
                sys.exit("benchmark_check.py: check failed:\n" + done.stdout.decode()
                         + done.stderr.decode())

    print("w2kmedia check of the sample media, %d runs: median %.3f s, fastest %.3f s, "
          "slowest %.3f s (aim: at most 1 s)"
          % (len(seconds), statistics.median(seconds), min(seconds), max(seconds)))


if __name__ == "__main__":
    main()
