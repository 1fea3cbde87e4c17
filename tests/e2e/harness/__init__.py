"""The end-to-end harness: the real W2KSetup.exe in a Wine prefix under Xvfb."""

from .case import HARDWARE_ID, RUN_KEY, Case, CaseFailure, Media, Process
from .runner import prepare, run_case
