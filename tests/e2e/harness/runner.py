"""Running one case from the command line (or CTest), and preparing a run.

    from harness import run_case

    def hand_over(case):
        media = case.make_media(driver_only=1)
        case.run_installer(media, "/ap").expect_exit(0)
        ...

    if __name__ == "__main__":
        run_case(hand_over, windows="win98")
"""

import argparse
import os
import shutil
import sys
import threading
import time
import traceback

from wine_machine import host, wine
from wine_machine.machine import MachineError

from .case import REPO, Case


def parse_options(argv):
    parser = argparse.ArgumentParser(description="Run one end-to-end case under Wine.")
    parser.add_argument("--win32-build", default=os.path.join(REPO, "build", "win32"),
                        help="the product's Windows build folder (W2KSetup.exe and e2e-helpers/)")
    parser.add_argument("--win64-build", default=os.path.join(REPO, "build", "win64"),
                        help="the x86-64 twin's build folder, which runs where 32-bit programs "
                             "cannot")
    parser.add_argument("--work", default=os.path.join(REPO, "build", "native", "e2e-work"),
                        help="where prefixes and media go")
    parser.add_argument("--artifacts", default=os.path.join(REPO, "build", "e2e-artifacts"),
                        help="where screenshots, records and logs are kept")
    parser.add_argument("--visible", action="store_true",
                        help="show the windows on $DISPLAY instead of a private Xvfb")
    parser.add_argument("--winedebug", help="WINEDEBUG for the programs (default -all)")
    parser.add_argument("--lang", help="LANG for the programs, e.g. zh_TW.UTF-8")
    parser.add_argument("--time-scale", type=float, default=1.0,
                        help="multiply every time limit (for slow machines)")
    parser.add_argument("--case-timeout", type=float, default=180,
                        help="the whole case's limit in s (CTest's TIMEOUT); 20 s before "
                             "it, every program of the prefix is ended and the case fails")
    parser.add_argument("--keep", action="store_true",
                        help="keep the prefix of a passing case (a failing one is always kept)")
    options = parser.parse_args(argv)
    options.win32_build = os.path.abspath(options.win32_build)
    options.win64_build = os.path.abspath(options.win64_build)
    options.way = host.way()
    options.windows_build = options.way.windows_build(options.win32_build, options.win64_build)
    options.work = os.path.abspath(options.work)
    options.artifacts = os.path.abspath(options.artifacts)
    return options


def run_case(function, windows, name=None, argv=None):
    """Runs a case function in a fresh Case and exits with 0 (pass) or 1."""
    options = parse_options(sys.argv[1:] if argv is None else argv)
    name = name or function.__name__
    began = time.monotonic()
    case = None
    error = None
    watchdog = None
    try:
        case = Case(name, windows, options)
        limit = max(10.0, options.case_timeout - 20)

        def out_of_time():
            # Ending the prefix's programs ends every wait of the case, so it
            # still reports and cleans up before CTest kills it.
            case.problems.append("the case ran out of its %.0f s" % limit)
            case.prefix.kill()

        watchdog = threading.Timer(limit, out_of_time)
        watchdog.daemon = True
        watchdog.start()
        function(case)
    except MachineError as failure:
        error = str(failure)
    except Exception:
        error = "the case itself broke:\n" + traceback.format_exc()
    if watchdog is not None:
        watchdog.cancel()
    if case is not None:
        if error or case.problems:
            case.screenshot("end")
        try:
            case.finish()
        except Exception:
            error = (error or "") + "\ncleaning up failed:\n" + traceback.format_exc()
    seconds = time.monotonic() - began
    problems = (case.problems if case else []) + ([error] if error else [])
    status = "FAIL" if problems else "PASS"
    report = ["%s %s (Windows version %s, the %s build) in %.1f s"
              % (status, name, windows, options.way.name, seconds)]
    report += ["  - " + p.replace("\n", "\n    ") for p in problems]
    if case is not None:
        if problems:
            report += _last_lines(os.path.join(case.artifacts, "wine.log"))
        report.append("  artifacts: %s" % case.artifacts)
        with open(os.path.join(case.artifacts, "result.txt"), "w") as f:
            f.write("\n".join(report) + "\n")
        if not problems and not options.keep:
            shutil.rmtree(os.path.join(case.work, "prefix"), ignore_errors=True)
    print("\n".join(report))
    sys.exit(1 if problems else 0)


def _last_lines(path, count=30):
    """The end of a failed case's wine.log, for a run whose artifacts are
    gone afterwards (a CI machine keeps only what the test printed)."""
    try:
        with open(path, errors="replace") as f:
            lines = f.read().splitlines()[-count:]
    except OSError:
        return []
    return ["  the last lines of wine.log:"] + ["    | " + line for line in lines]


def prepare(argv=None):
    """Builds the template prefixes afresh (the first step of a test run)."""
    parser = argparse.ArgumentParser(description="Boot the template Wine prefixes.")
    parser.add_argument("--work", default=os.path.join(REPO, "build", "native", "e2e-work"))
    parser.add_argument("--versions", default="",
                        help="comma-separated Windows versions to prepare as well")
    options = parser.parse_args(sys.argv[1:] if argv is None else argv)
    began = time.monotonic()
    way = host.way()
    print("the end-to-end ring runs %s; %s" % (way.describe(), wine.wine_version(way)))
    templates = wine.Templates(options.work, way)
    templates.remove_all()
    for version in ["winxp"] + [v for v in options.versions.split(",") if v]:
        templates.template(version)
    print("templates ready in %.1f s" % (time.monotonic() - began))
