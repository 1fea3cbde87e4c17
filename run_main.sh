#!/usr/bin/env bash
# The main job: `tools/w2kmedia try` on a generated sample media, on Windows XP
# with the sound device and an earlier driver, answered as a person would:
# "Install Applications" cleared and OK, the driver notice, "Yes" on the restart
# prompt; the restart is followed into the installer's -ReplaceMixer run. It
# prints where the report page is. Options go to try (--visible to watch it on
# a real display, --lang zh_TW for the Chinese copies, ...).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
media="$top/build/try/sample-media"
rm -rf "$media"
# The media holds the product; its outside programs are the recorder of the
# build this machine runs (where that is the x86-64 twin, try runs the twin
# in the product's place too).
helpers="$top/build/win32/e2e-helpers"
[ "$(python3 "$top/tools/wine_machine/host.py")" = x86-64 ] && helpers="$top/build/win64/e2e-helpers"
python3 "$top/tools/make_media.py" "$media" --quiet --web-setup 0 \
    --installer "$top/build/win32/W2KSetup.exe" --programs "$helpers/recorder.exe"
exec "$top/tools/w2kmedia" try "$media" --windows xp --apps no --earlier-driver \
    --out "$top/build/try/main" "$@"
