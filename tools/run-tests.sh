#!/bin/sh
# Sets up a fresh Debian 12 machine, builds everything and runs the whole test
# suite with ctest, then again in a build with address and undefined-behaviour
# sanitizers.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZENT_SANITIZE=ON \
      -DZENT_BUILD_BENCH=OFF -DZENT_BUILD_DEMO=OFF >/dev/null
cmake --build build-asan -j "$jobs"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
