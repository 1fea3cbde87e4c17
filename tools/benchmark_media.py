"""What the benchmarks share: their options (--runs, --build-dir) and the
sample media they measure, generated around the installer and the recorder
of build/win32."""

import argparse
import os
import subprocess
import sys

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
W2KMEDIA = os.path.join(TOP, "tools", "w2kmedia")


def parse_options(doc, runs, program):
    """The options of a benchmark whose docstring is `doc`; a missing
    installer in the build ends `program` with a message."""
    parser = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=runs,
                        help="how many runs (default %d)" % runs)
    parser.add_argument("--build-dir", default=os.path.join(TOP, "build"),
                        help="holding win32/ (default build/)")
    options = parser.parse_args()
    options.win32 = os.path.join(options.build_dir, "win32")
    if not os.path.isfile(os.path.join(options.win32, "W2KSetup.exe")):
        sys.exit("%s: %s/W2KSetup.exe is missing; run ./scripts/build.sh first"
                 % (program, options.win32))
    return options


def write_sample_media(win32, folder):
    """tools/make_media.py's sample media (WebSetup=0) in `folder`."""
    subprocess.run([sys.executable, os.path.join(TOP, "tools", "make_media.py"), folder,
                    "--installer", os.path.join(win32, "W2KSetup.exe"),
                    "--programs", os.path.join(win32, "e2e-helpers", "recorder.exe"),
                    "--web-setup", "0", "--quiet"], check=True)
