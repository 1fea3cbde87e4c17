#!/usr/bin/env bash
# Runs a Win32 check program under Wine in a prefix of its own (made on the
# first run), and ends that prefix's wineserver afterwards.
#   run_under_wine.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all
shift
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
