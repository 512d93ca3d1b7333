#!/bin/sh
# Cross-compiles the number-text units (Zent_stringl, Zent_math1 and the
# Zent_sysutils they use) with tools/arm64_selfcheck.cpp for aarch64, where
# long double is an IEEE quad, and runs the self-check under qemu-aarch64.
#   tools/check-arm64.sh [build folder, default build-arm64]
# Needs g++-aarch64-linux-gnu and qemu-user (tools/setup.sh installs both).
set -eu
Root=$(cd "$(dirname "$0")/.." && pwd)
Out=${1:-$Root/build-arm64}
Cxx=${ARM64_CXX:-aarch64-linux-gnu-g++}

mkdir -p "$Out"
"$Cxx" -std=c++20 -O2 -Wall -Wextra -Wpedantic -static \
    -I"$Root/widgets" -I"$Root/platform/runtime" -I"$Root/tests" \
    "$Root/tools/arm64_selfcheck.cpp" "$Root/widgets/Zent_stringl.cpp" \
    "$Root/widgets/Zent_math1.cpp" "$Root/platform/runtime/Zent_sysutils.cpp" \
    -o "$Out/number_selfcheck"
qemu-aarch64 "$Out/number_selfcheck"
