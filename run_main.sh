#!/usr/bin/env bash
# The main job: the installer on a generated sample media, in a Wine prefix
# playing Windows XP, with a report of what it changed. Options go to
# tools/main_job.py (--visible to watch it on a real display).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
python3 "$top/tools/main_job.py" "$@"
