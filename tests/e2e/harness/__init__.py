"""The end-to-end harness: the real W2KSetup.exe in a Wine prefix under Xvfb.
The Wine machinery itself is tools/wine_machine, which `w2kmedia try` runs
on as well."""

import os
import sys

_TOOLS = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools"))
if _TOOLS not in sys.path:
    sys.path.insert(0, _TOOLS)

from wine_machine.machine import HARDWARE_ID, RUN_KEY  # noqa: E402

from .case import Case, CaseFailure, Media  # noqa: E402
from .runner import prepare, run_case  # noqa: E402
