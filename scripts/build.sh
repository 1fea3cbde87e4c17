#!/usr/bin/env bash
# Builds the configurations from this tree:
#   build/win32   the product W2KSetup.exe and the Win32 test helpers (MinGW-w64, i686)
#   build/win64   their x86-64 twin, which the Wine rings and `w2kmedia try` run
#                 on machines that cannot run 32-bit programs; never shipped
#   build/fuzz    the libFuzzer targets (clang), which build/native's tests run
#   build/native  the system on the simulated Windows, with the tests (g++),
#                 under AddressSanitizer and UndefinedBehaviorSanitizer
#   build/release the media tool that tools/w2kmedia runs, without the tests
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# At most two jobs: the machine is shared.
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

cmake -S "$top" -B "$top/build/win32" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$top/build/win32" -j "$jobs"

# The twin is needed where the machine's way is x86-64; it is built wherever
# its compiler is, so that the code stays 64-bit clean on every machine.
way=$(python3 "$top/tools/wine_machine/host.py")
if [ "$way" = x86-64 ] || command -v x86_64-w64-mingw32-g++ >/dev/null; then
    cmake -S "$top" -B "$top/build/win64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    cmake --build "$top/build/win64" -j "$jobs"
fi

cmake -S "$top" -B "$top/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUP_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$top/build/fuzz" -j "$jobs"

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=Debug -DSETUP_SANITIZE=ON \
      -DWIN32_BUILD_DIR="$top/build/win32" -DWIN64_BUILD_DIR="$top/build/win64" \
      -DFUZZ_BUILD_DIR="$top/build/fuzz" >/dev/null
cmake --build "$top/build/native" -j "$jobs"

cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DSETUP_TOOL_ONLY=ON >/dev/null
cmake --build "$top/build/release" --target w2kmedia -j "$jobs"

# What a media's W2KSetup.exe is compared with (README: "Rebuilding the
# product").
product=$top/build/win32/W2KSetup.exe
echo "build/win32/W2KSetup.exe: $(stat -c %s "$product") bytes," \
     "SHA-256 $(sha256sum "$product" | cut -d' ' -f1)," \
     "PE timestamp $(cat "$top/build/win32/W2KSetup.source_date_epoch")"
