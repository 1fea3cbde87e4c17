#!/usr/bin/env python3
"""Boots the template Wine prefixes afresh; the first step of a test run."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import prepare  # noqa: E402

if __name__ == "__main__":
    prepare()
