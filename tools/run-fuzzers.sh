#!/bin/sh
# Builds every libFuzzer target (each fuzz_* target of fuzz/CMakeLists.txt)
# with clang in build-fuzz and runs each for a bounded time.
#   sh tools/run-fuzzers.sh [seconds per fuzzer, default 60] [fuzzer names...]
# Fails when a fuzzer crashes or a sanitizer reports anything. Plain POSIX sh,
# so that sh and bash both run it.
set -eu

Seconds=${1:-60}
if [ $# -gt 0 ]; then shift; fi
Root=$(cd "$(dirname "$0")/.." && pwd)
Build=$Root/build-fuzz

# The libraries are instrumented too, so that coverage guides the fuzzers
# through our code; the fuzz targets add -fsanitize=fuzzer themselves.
cmake -G Ninja -S "$Root" -B "$Build" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer" \
    -DZENT_BUILD_FUZZ=ON -DZENT_BUILD_TESTS=OFF -DZENT_BUILD_BENCH=OFF \
    -DZENT_BUILD_DEMO=OFF -DZENT_BUILD_TOOLS=OFF -DZENT_INSTALL=OFF >/dev/null

# The fuzzers to run are the remaining arguments; by default every fuzz_*
# target (their names are single words, so the list splits safely).
if [ $# -eq 0 ]; then
    Targets=$(ninja -C "$Build" -t targets all) || { echo "cannot list the targets of $Build" >&2; exit 1; }
    # shellcheck disable=SC2046 # split on purpose, into one argument per name
    set -- $(printf '%s\n' "$Targets" | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): phony$/\1/p' | sort -u)
fi
[ $# -gt 0 ] || { echo "no fuzz_* targets found" >&2; exit 1; }
ninja -C "$Build" -j2 "$@"

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

Failed=0
for Name in "$@"; do
    Corpus=$Build/corpus/$Name
    Log=$Build/$Name.log
    mkdir -p "$Corpus"
    Status=0
    (cd "$Build" && "$Build/fuzz/$Name" -max_total_time="$Seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$Build/$Name-" "$Corpus") >"$Log" 2>&1 || Status=$?
    Runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$Log" | tail -1)
    if [ "$Status" -ne 0 ] || grep -qE 'runtime error:|ERROR: (Address|Leak|Undefined)Sanitizer|ERROR: libFuzzer' "$Log"; then
        echo "$Name: FAILED (exit $Status) after ${Runs:-?} executions, see $Log"
        Failed=1
    else
        echo "$Name: ${Runs:-?} executions in ${Seconds} s, no crash, no sanitizer report"
    fi
done
exit $Failed
