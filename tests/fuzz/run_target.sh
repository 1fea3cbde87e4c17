#!/usr/bin/env bash
# Fuzzes one target, starting from its seed corpus, for a number of seconds.
#   run_target.sh FUZZ_BUILD_DIR WORK_DIR TARGET SECONDS [libFuzzer options...]
# New inputs go to WORK_DIR/TARGET/corpus, so the seeds in the repository stay
# as they are and the next run goes on from where this one ended. A finding
# (a failed property, a sanitizer report, a crash, an input that takes over
# 10 s) is kept as WORK_DIR/TARGET/crash-... (or timeout-..., leak-...) and
# fails the run. TARGET/TARGET.options, when present, holds libFuzzer options
# of that target (such as the largest input worth trying).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 work=$2 target=$3 seconds=$4
shift 4
options=()
[ -f "$here/$target/$target.options" ] && read -r -a options < "$here/$target/$target.options"
mkdir -p "$work/$target/corpus"
exec "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -dict="$here/$target/$target.dict" -artifact_prefix="$work/$target/" \
    "${options[@]}" "$@" "$work/$target/corpus" "$here/$target/corpus"
