"""A page in headless Chromium (Debian's chromium package): whether it loads
without errors, the natural size of every picture on it, and a rendering
as PNG.

The check opens a copy of the page, beside it so that its relative links
hold, with a script in front of everything else: it notes every script error
and every resource that fails to load, and once the page has loaded it
writes what it found into the page as JSON, which --dump-dom then prints."""

import html
import json
import os
import re
import shutil
import subprocess
import tempfile

CHROMIUM = "chromium"
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--hide-scrollbars"]
WIDTH = 1280
MAX_HEIGHT = 16000

PROBE = """<script>
window.pageProblems = [];
window.addEventListener("error", function (event) {
  var target = event.target;
  window.pageProblems.push(target && (target.src || target.href)
      ? "failed to load " + (target.src || target.href) : "script error: " + event.message);
}, true);
window.addEventListener("load", function () {
  var images = Array.prototype.map.call(document.images, function (image) {
    return {src: image.getAttribute("src"), width: image.naturalWidth,
            height: image.naturalHeight, complete: image.complete};
  });
  var found = document.createElement("pre");
  found.id = "page-check";
  found.style.display = "none";
  found.textContent = JSON.stringify({problems: window.pageProblems, images: images,
                                      height: document.documentElement.scrollHeight});
  document.body.appendChild(found);
});
</script>"""


class BrowserError(Exception):
    pass


def _run(arguments, timeout):
    profile = tempfile.mkdtemp(prefix="chromium-profile-")
    try:
        return subprocess.run([CHROMIUM] + FLAGS + ["--user-data-dir=" + profile] + arguments,
                              capture_output=True, text=True, errors="replace", timeout=timeout)
    except FileNotFoundError:
        raise BrowserError("chromium is not installed (scripts/install-deps.sh installs it)")
    except subprocess.TimeoutExpired:
        raise BrowserError("chromium did not end within %d s" % timeout)
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def check_page(page, timeout=60):
    """Loads the page; returns {problems: [text], images: [{src, width,
    height, complete}], height}."""
    with open(page, encoding="utf-8") as f:
        text = f.read()
    at = text.lower().find("<head>")
    if at < 0:
        raise BrowserError("%s has no <head>" % page)
    probe = os.path.join(os.path.dirname(os.path.abspath(page)), ".page-check.html")
    with open(probe, "w", encoding="utf-8") as f:
        f.write(text[:at + 6] + PROBE + text[at + 6:])
    try:
        result = _run(["--window-size=%d,800" % WIDTH, "--virtual-time-budget=10000",
                       "--dump-dom", "file://" + probe], timeout)
    finally:
        os.remove(probe)
    found = re.search(r'<pre id="page-check"[^>]*>(.*?)</pre>', result.stdout, re.DOTALL)
    if not found:
        raise BrowserError("the page did not finish loading in chromium (exit %d): %s"
                           % (result.returncode, result.stderr[-1500:]))
    return json.loads(html.unescape(found.group(1)))


def render_page(page, png, height, timeout=60):
    """Renders the whole page (up to MAX_HEIGHT pixels) into a PNG."""
    height = max(600, min(int(height), MAX_HEIGHT))
    result = _run(["--window-size=%d,%d" % (WIDTH, height), "--screenshot=" + os.path.abspath(png),
                   "file://" + os.path.abspath(page)], timeout)
    if not os.path.isfile(png):
        raise BrowserError("chromium wrote no screenshot (exit %d): %s"
                           % (result.returncode, result.stderr[-1500:]))
