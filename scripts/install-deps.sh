#!/usr/bin/env bash
# Installs what the builds and the tests need on a Debian machine (run as root).
# Quick when everything is there already. Wine comes the way this machine runs
# Windows programs (tools/wine_machine/host.py): Wine's 32-bit loader where
# 32-bit programs run, else wine64 and the x86-64 twin, without i386 packages.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

need=()
command -v python3 >/dev/null || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
    apt-get update -qq || true
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
    need=()
fi
way=$(python3 "$top/tools/wine_machine/host.py")
echo "Wine: $(python3 "$top/tools/wine_machine/host.py" --describe)"

command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev libgmock-dev)
# clang with its sanitizer and libFuzzer runtimes, for the fuzz targets.
command -v clang++ >/dev/null || need+=(clang)
dpkg -s libclang-rt-dev >/dev/null 2>&1 || need+=(libclang-rt-dev)
command -v i686-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-i686)
# The x86-64 twin is built on every machine, so that the code stays 64-bit clean.
command -v x86_64-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-x86-64)
if [ "$way" = x86-64 ]; then
    [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
else
    [ -x /usr/lib/wine/wine ] || need+=(wine wine32:i386)
fi
[ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
command -v xvfb-run >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
# Fonts for the screenshots of the Chinese, Japanese and Korean dialog copies.
[ -f /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc ] || need+=(fonts-wqy-zenhei)
[ -f /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf ] || need+=(fonts-droid-fallback)
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf ] || need+=(fonts-dejavu-core)
# The restart prompt's Courier New is played by Liberation Mono.
[ -f /usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf ] || need+=(fonts-liberation)
# The media tool reads disc images with libarchive and writes them with xorriso.
[ -f /usr/include/archive.h ] || need+=(libarchive-dev)
command -v xorriso >/dev/null || need+=(xorriso)
# Its reports take SHA-256 and hex from nettle, found through pkg-config.
[ -f /usr/include/nettle/sha2.h ] || need+=(nettle-dev)
command -v pkg-config >/dev/null || need+=(pkg-config)
# The sandbox that every Wine program of the rings and of `w2kmedia try` runs
# in, and the system's Python that runs its agent inside.
command -v bwrap >/dev/null || need+=(bubblewrap)
[ -x /usr/bin/python3 ] || need+=(python3)
# The browser that opens the report page of `w2kmedia try` in the tests.
command -v chromium >/dev/null || need+=(chromium)

[ ${#need[@]} -gt 0 ] || exit 0
echo "Installing: ${need[*]}"
if [ "$way" != x86-64 ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi
# A mirror that is being synced serves an index that does not match its
# release file for a while: try again, then go on with what was fetched.
for attempt in 1 2 3; do
    if answer=$(apt-get update -qq 2>&1); then
        break
    fi
    echo "apt-get update failed (attempt $attempt of 3): $(grep -m1 '^E:' <<<"$answer")"
    [ "$attempt" = 3 ] && echo "Going on with the indexes that were fetched" || sleep $((attempt * 5))
done
install() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" "${need[@]}" >/dev/null
}
# When the failed index was an update suite's, its packages of one
# architecture may be newer than those of the other: take both from the
# release itself.
if ! install; then
    release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "The install failed on mixed versions; installing again from $release alone"
    install -t "$release"
fi
