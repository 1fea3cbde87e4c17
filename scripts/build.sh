#!/usr/bin/env bash
# Builds the three configurations from this tree:
#   build/win32   the product W2KSetup.exe and the Win32 test helpers (MinGW-w64, i686)
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

cmake -S "$top" -B "$top/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUP_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$top/build/fuzz" -j "$jobs"

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=Debug -DSETUP_SANITIZE=ON \
      -DWIN32_BUILD_DIR="$top/build/win32" -DFUZZ_BUILD_DIR="$top/build/fuzz" >/dev/null
cmake --build "$top/build/native" -j "$jobs"

cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DSETUP_TOOL_ONLY=ON >/dev/null
cmake --build "$top/build/release" --target w2kmedia -j "$jobs"
