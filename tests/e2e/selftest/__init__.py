"""Tests of the harness's pieces and of the tools that use it, without Wine."""

import os
import sys

# The media tool's machinery lives in tools/ beside the sample media generator.
TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools")
if TOOLS not in sys.path:
    sys.path.insert(0, os.path.abspath(TOOLS))
