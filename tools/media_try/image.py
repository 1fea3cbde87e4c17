"""A disc image as drive D:: its tree as Windows shows it from the drive
(Joliet names where it has them, else its ISO 9660 names; every file
read-only), written by `w2kmedia extract`, the reader that `check` and
`plan` use, so that all three see the same names."""

import hashlib
import os
import shutil
import subprocess

W2KMEDIA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "w2kmedia")


class ImageError(Exception):
    """The image cannot be read; the text says why in one sentence."""


def is_image(path):
    return os.path.isfile(path) and path.lower().endswith(".iso")


def _remove(folder):
    """Removes an earlier tree, whose folders are read-only."""
    if not os.path.lexists(folder):
        return
    for parent, dirs, _ in os.walk(folder):
        os.chmod(parent, 0o755)
        for name in dirs:
            path = os.path.join(parent, name)
            if not os.path.islink(path):
                os.chmod(path, 0o755)
    shutil.rmtree(folder)


def extract(image, work):
    """The folder under `work` that holds the image's tree, written anew;
    raises ImageError."""
    folder = os.path.join(work, "images", "%s-%s" % (
        os.path.basename(image), hashlib.sha1(image.encode()).hexdigest()[:8]))
    _remove(folder)
    os.makedirs(os.path.dirname(folder), exist_ok=True)
    result = subprocess.run([W2KMEDIA, "extract", image, folder], capture_output=True,
                            text=True, errors="replace")
    if result.returncode != 0:
        lines = (result.stderr or result.stdout).strip().splitlines()
        reason = lines[-1] if lines else "w2kmedia extract ended with %d" % result.returncode
        raise ImageError(reason.split(": ", 1)[-1] if reason.startswith("w2kmedia") else reason)
    return folder
