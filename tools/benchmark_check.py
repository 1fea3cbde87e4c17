#!/usr/bin/env python3
"""Measures `tools/w2kmedia check` as a person runs it, on the generated
sample media and on its image written by `tools/w2kmedia image`: every
Windows version, every start, wall time of the whole command, wrapper
included. The aim is at most 1 s. This is a measurement, not a test: it
fails only when the check itself does.

Needs the installer and the recorder from build/win32 for the sample media
(./scripts/build.sh); tools/w2kmedia builds its own program when needed,
before the first timed run.

  tools/benchmark_check.py [--runs N] [--build-dir DIR]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

from benchmark_media import W2KMEDIA, parse_options, write_sample_media


def timed_checks(media, runs):
    seconds = []
    for _ in range(runs):
        began = time.perf_counter()
        done = subprocess.run([W2KMEDIA, "check", media], capture_output=True)
        seconds.append(time.perf_counter() - began)
        if done.returncode != 0:
            sys.exit("benchmark_check.py: check of %s failed:\n%s%s"
                     % (media, done.stdout.decode(), done.stderr.decode()))
    return seconds


def main():
    options = parse_options(__doc__, 20, "benchmark_check.py")
    with tempfile.TemporaryDirectory(prefix="w2kmedia-bench-") as work:
        media = os.path.join(work, "media")
        image = os.path.join(work, "media.iso")
        write_sample_media(options.win32, media)
        # Writing the image also brings the program up to date, untimed.
        subprocess.run([W2KMEDIA, "image", media, image], check=True, stdout=subprocess.DEVNULL)
        for what, path in (("sample image", image), ("sample media folder", media)):
            seconds = timed_checks(path, options.runs)
            print("tools/w2kmedia check of the %s, %d runs: median %.3f s, fastest %.3f s, "
                  "slowest %.3f s (aim: at most 1 s)"
                  % (what, len(seconds), statistics.median(seconds), min(seconds), max(seconds)))


if __name__ == "__main__":
    main()
