#!/usr/bin/env bash
# The main job: the installer on a generated sample media, in a Wine prefix
# that holds the device, with a report of what it changed.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"

work="$top/build/main-job"
rm -rf "$work"
mkdir -p "$work/media"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
wineboot -i >/dev/null 2>&1
wine winecfg -v winxp >/dev/null 2>&1
cp "$top/build/win32/W2KSetup.exe" "$work/media/W2KSetup.exe"
printf '[InstallOption]\r\nWebSetup=1\r\nInstallWDMDriver=0\r\n[Default]\r\nUsingCDDA=1\r\n' \
    > "$work/media/setup.ini"
wine "$work/media/W2KSetup.exe"
wineserver -w
echo "QNCDPLAY.INI:"
cat "$WINEPREFIX/drive_c/windows/QNCDPLAY.INI"
