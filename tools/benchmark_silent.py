#!/usr/bin/env python3
"""Measures the unattended installation, `W2KSetup.exe /S`, on Windows XP
with the sound device and an earlier driver's running mixer: each run is
`tools/w2kmedia try` on the generated sample media, and its time is the
installer's own, from its start to its end as try saw it. The aim is the
30 s completion wait (Wine has no mixer device, so it runs its full length)
plus at most 3 %. This is a measurement, not a test: it fails only when a
run does not end with 3010.

Needs the installer and the recorder from build/win32 for the sample media
(./scripts/build.sh); about a minute a run.

  tools/benchmark_silent.py [--runs N] [--build-dir DIR]
"""

import json
import os
import statistics
import subprocess
import sys
import tempfile

from benchmark_media import W2KMEDIA, parse_options, write_sample_media

COMPLETION_WAIT_S = 30.0
BUDGET = 0.03


def installer_seconds(media, out):
    """One try of "/S"; the installer's seconds from its start to its end."""
    done = subprocess.run([W2KMEDIA, "try", media, "--windows", "xp", "--device", "present",
                           "--earlier-driver", "--args", "/S", "--out", out],
                          capture_output=True, text=True)
    report_path = os.path.join(out, "report.json")
    if done.returncode != 0 or not os.path.isfile(report_path):
        sys.exit("benchmark_silent.py: try failed:\n%s%s" % (done.stdout, done.stderr))
    with open(report_path, encoding="utf-8") as f:
        report = json.load(f)
    if report["exit_code"] != 3010:
        sys.exit("benchmark_silent.py: /S ended with exit code %s, not 3010; see %s"
                 % (report["exit_code"], report_path))
    whole = [w for w in report["timings"]["waits"]
             if w["what"] == "the installer, from its start to its end"]
    return whole[0]["observed_ms"] / 1000.0


def main():
    options = parse_options(__doc__, 3, "benchmark_silent.py")
    with tempfile.TemporaryDirectory(prefix="w2ksetup-silent-bench-") as work:
        media = os.path.join(work, "media")
        write_sample_media(options.win32, media)
        seconds = [installer_seconds(media, os.path.join(work, "try-%d" % run))
                   for run in range(options.runs)]

    limit = COMPLETION_WAIT_S * (1 + BUDGET)
    worst = max(seconds)
    print("W2KSetup.exe /S on Windows XP with the device, %d runs: median %.2f s, fastest %.2f s, "
          "slowest %.2f s; the completion wait is %.0f s, the aim at most %.2f s (+%.0f %%): "
          "slowest %+.1f %%, %s"
          % (len(seconds), statistics.median(seconds), min(seconds), worst, COMPLETION_WAIT_S,
             limit, BUDGET * 100, (worst / COMPLETION_WAIT_S - 1) * 100,
             "within the aim" if worst <= limit else "past the aim"))


if __name__ == "__main__":
    main()
