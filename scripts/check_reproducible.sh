#!/usr/bin/env bash
# Shows that W2KSetup.exe depends on the tree only: clones HEAD into two
# folders of different depth and length, builds build/win32 in one and then,
# minutes later, in the other, with another time zone, locale, umask and job
# count, and compares the two products byte for byte. SOURCE_DATE_EPOCH is
# unset, so both take the last commit's time. --twin compares build/win64
# (the x86-64 twin) as well.
#
# A few minutes per build, so not part of ./run_tests.sh. Exit status 1 when
# the products differ, carry another time or name their folder; the clones
# are then kept for a look.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
configs=(win32:mingw-i686)
if [ "${1:-}" = --twin ]; then
    configs+=(win64:mingw-x86_64)
fi
unset SOURCE_DATE_EPOCH

if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
    echo "Uncommitted changes are not in the clones: this checks HEAD." >&2
fi
work=$(mktemp -d /tmp/reproducible.XXXXXX)
first=$work/a
second=$work/second-clone/of/the/setup-program

# build TREE UMASK JOBS ENV...: a clean build of each configuration.
build() {
    local tree=$1 mask=$2 jobs=$3
    shift 3
    # The second clone is made from the first, so that both hold the same
    # commit even when the repository moves on meanwhile.
    git clone -q --no-hardlinks "$source" "$tree"
    (
        umask "$mask"
        for config in "${configs[@]}"; do
            env "$@" cmake -S "$tree" -B "$tree/build/${config%%:*}" \
                -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/${config#*:}.cmake" \
                -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
            env "$@" cmake --build "$tree/build/${config%%:*}" --target W2KSetup -j "$jobs" >/dev/null
        done
    )
    echo "$(date -u '+%H:%M:%S') built $tree"
}
source=$top
build "$first" 022 2 TZ=UTC LC_ALL=C
source=$first
build "$second" 077 1 TZ=Pacific/Kiritimati LC_ALL=C.UTF-8

commit_time=$(git -C "$first" log -1 --format=%ct)
failed=
for config in "${configs[@]}"; do
    name=build/${config%%:*}/W2KSetup.exe
    a=$first/$name
    b=$second/$name
    for product in "$a" "$b"; do
        echo "$product: $(stat -c %s "$product") bytes, SHA-256 $(sha256sum "$product" | cut -d' ' -f1)"
        pe=$(od -An -tu4 -j 60 -N 4 "$product")
        stamp=$(( $(od -An -tu4 -j $((pe + 8)) -N 4 "$product") ))
        if [ "$stamp" != "$commit_time" ]; then
            echo "  PE timestamp $stamp, not the last commit's $commit_time" >&2
            failed=1
        fi
        if grep -q -a -F "$work/" "$product"; then
            echo "  names its folder $work" >&2
            failed=1
        fi
    done
    if ! cmp -s "$a" "$b"; then
        echo "$name differs (offset, octal bytes):" >&2
        cmp -l "$a" "$b" | head -20 >&2 || true
        failed=1
    fi
done

if [ -n "$failed" ]; then
    echo "Not reproducible; the clones are in $work." >&2
    exit 1
fi
rm -rf "$work"
echo "Reproducible: the same bytes from both folders."
