#!/usr/bin/env bash
# Installs what the builds and the tests need on a Debian machine (run as root).
# Quick when everything is there already.
set -euo pipefail

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v python3 >/dev/null || need+=(python3)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev libgmock-dev)
# clang with its sanitizer and libFuzzer runtimes, for the fuzz targets.
command -v clang++ >/dev/null || need+=(clang)
dpkg -s libclang-rt-dev >/dev/null 2>&1 || need+=(libclang-rt-dev)
command -v i686-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-i686)
command -v wine >/dev/null || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
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
# The browser that opens the report page of `w2kmedia try` in the tests.
command -v chromium >/dev/null || need+=(chromium)

if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi
