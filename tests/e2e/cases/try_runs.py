"""What the cases of `tools/w2kmedia try` share: the command run as a person
runs it, its report read back, the page opened in headless Chromium, the
check that no Wine process of its prefix is left behind, and the plan of
the same media with the same answers that the try must agree with."""

import hashlib
import json
import os
import shutil
import subprocess
import sys

from harness import agreement, browser
from harness.case import REPO
from media_try.session import case_name
from wine_machine import wine

W2KMEDIA = os.path.join(REPO, "tools", "w2kmedia")
# The pictures of report pages rendered by Chromium are kept here too.
PAGE_PICTURES = os.path.join(REPO, "build", "try")


class TryRun:
    def __init__(self, exit_code, stdout, stderr, out, work):
        self.exit_code = exit_code
        self.stdout = stdout
        self.stderr = stderr
        self.out = out
        # Where try kept its prefix while it ran (named after the output folder).
        self.prefix_folder = os.path.join(work, "cases", case_name(os.path.realpath(out)))
        path = os.path.join(out, "report.json")
        self.report = None
        if os.path.isfile(path):
            with open(path, encoding="utf-8") as f:
                self.report = json.load(f)

    def events(self, kinds=("message", "dialog", "start", "reboot")):
        return [e for e in self.report["events"] if e["kind"] in kinds]

    def changes(self, group=None):
        return [c for c in self.report["changes"] if group is None or c["group"] == group]


def try_media(case, **options):
    """A media as people hand it to `try`: with the product's W2KSetup.exe,
    whichever build runs here (try runs the twin in its place where it
    must). The options are Case.make_media's."""
    return case.make_media(installer=case.product, **options)


def as_run(run, digest):
    """The SHA-256 that a copy of a media file with `digest` has after the
    run: where the x86-64 twin ran in the product's place, a copy of the
    product the installer made is the twin's bytes."""
    build = run.report["build"]
    if build["twin"] and digest == build["product_file"]["sha256"]:
        return build["twin_file"]["sha256"]
    return digest


def run_try(case, media, *flags, env=None, timeout=400, out=None):
    """Runs `tools/w2kmedia try MEDIA FLAGS` with the case's work folder
    and Windows build; the report goes to the case's artifacts."""
    out = out or os.path.join(case.artifacts, case.name + "-try")
    argv = [W2KMEDIA, "try", media, "--out", out, "--work", case.options.work,
            "--win32-build", case.options.win32_build,
            "--win64-build", case.options.win64_build,
            "--time-scale", str(case.options.time_scale)] + list(flags)
    environment = dict(os.environ)
    environment.update(env or {})
    case.log("run: %s" % " ".join(argv))
    try:
        result = subprocess.run(argv, capture_output=True, text=True, env=environment,
                                timeout=timeout * case.options.time_scale)
    except subprocess.TimeoutExpired as expired:
        case.fail("w2kmedia try did not end within %d s; output so far:\n%s"
                  % (timeout, expired.stdout))
    case.log("w2kmedia try ended with %d\nstdout:\n%s\nstderr:\n%s"
             % (result.returncode, result.stdout, result.stderr))
    sys.stdout.write(result.stdout)
    return TryRun(result.returncode, result.stdout, result.stderr, out, case.options.work)


def tried(case, media, *flags):
    """run_try for a run that must go through: exit status 0, a report, and
    nothing of Wine left running."""
    run = run_try(case, media, *flags)
    case.expect_equal(run.exit_code, 0, "exit code of w2kmedia try (stderr: %s)" % run.stderr)
    expect_no_wine_left(case, run)
    if run.report is None:
        case.fail("no report.json in %s" % run.out)
    return run


def planned(case, media, *flags):
    """`tools/w2kmedia plan MEDIA FLAGS --json`, parsed; the JSON is kept in
    the artifacts."""
    argv = [W2KMEDIA, "plan", media, "--json"] + list(flags)
    case.log("run: %s" % " ".join(argv))
    result = subprocess.run(argv, capture_output=True, text=True, timeout=300)
    if result.returncode != 0:
        case.fail("w2kmedia plan ended with %d: %s" % (result.returncode, result.stderr))
    with open(os.path.join(case.artifacts, case.name + "-plan.json"), "w") as f:
        f.write(result.stdout)
    return json.loads(result.stdout)


def expect_plan_and_try_agree(case, media, *flags):
    """Runs `try` and `plan` on the same media with the same flags: the
    windows and their answers, the programs started, the files of drive C:
    by their bytes and the registry values must agree, but for what a known
    Wine difference explains. Returns (the plan, the try's TryRun, the
    Comparison)."""
    run = tried(case, media, *flags)
    plan = planned(case, media, *flags)
    comparison = agreement.compare(plan, run.report)
    case.log(comparison.report())
    print(comparison.report())
    for disagreement in comparison.disagreements:
        case.expect(False, "plan and try disagree: " + disagreement)
    return plan, run, comparison


def expect_no_wine_left(case, run):
    left = wine.processes_in(run.prefix_folder)
    case.expect(not left, "Wine processes of %s are still running: %s"
                % (run.prefix_folder, left))


def expect_page_shows(case, run, picture_name):
    """Opens report.html in headless Chromium: it loads without errors and
    every picture on it is shown, with its natural size greater than zero;
    renders it as PNG into the artifacts and into build/try/."""
    page = os.path.join(run.out, "report.html")
    try:
        found = browser.check_page(page)
    except browser.BrowserError as error:
        case.fail("the report page does not load: %s" % error)
    case.expect_equal(found["problems"], [], "errors while the page loaded")
    shown = [shot for shot in (e["screenshot"] for e in run.report["timeline"]) if shot]
    case.expect_equal(sorted(i["src"] for i in found["images"]),
                      sorted(shot["file"] for shot in shown), "pictures on the page")
    for image in found["images"]:
        case.expect(image["complete"] and image["width"] > 0 and image["height"] > 0,
                    "the picture %s is not shown (natural size %dx%d)"
                    % (image["src"], image["width"], image["height"]))
    picture = os.path.join(case.artifacts, picture_name)
    browser.render_page(page, picture, found["height"])
    os.makedirs(PAGE_PICTURES, exist_ok=True)
    shutil.copy(picture, PAGE_PICTURES)
    print("the report page as Chromium renders it: %s"
          % os.path.join(PAGE_PICTURES, picture_name))


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def file_sha256(path):
    with open(path, "rb") as f:
        return sha256(f.read())


def expect_screenshots_cropped(case, run):
    """Every window's picture exists and is cropped to that window (smaller
    than the screen); its whole screen is kept beside it."""
    for event in run.report["timeline"]:
        shot = event["screenshot"]
        if not case.expect(shot is not None or event["kind"] in ("start", "reboot"),
                           "no picture of: %s" % event["what"]) or shot is None:
            continue
        case.expect(os.path.isfile(os.path.join(run.out, shot["file"]))
                    and os.path.isfile(os.path.join(run.out, shot["full"])),
                    "the picture files of %s are missing" % event["what"])
        case.expect(shot["width"] and 0 < shot["width"] < 800 and 0 < shot["height"] < 600,
                    "the picture of %s is not cropped to its window: %s" % (event["what"], shot))
