#!/usr/bin/env bash
# Runs every test: the native ring on the simulated Windows, the checks of the
# built executable and its resources, and the end-to-end ring under Wine.
# Installs what it needs first (run as root on Debian).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
cd "$top/build/native"
ctest --output-on-failure -j 2 "$@"
