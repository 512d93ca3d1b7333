#!/bin/sh
# Installs the project into a scratch prefix and builds and runs a consumer
# against it, then builds the same consumer with the project as a subproject.
set -eu
src=$1; build=$2; work=$3
rm -rf "$work"; mkdir -p "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S "$src/tests/package" -B "$work/installed" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/installed" >/dev/null
"$work/installed/consumer"
cmake -S "$src/tests/package" -B "$work/subproject" -G Ninja -DZENT_SOURCE="$src" >/dev/null
cmake --build "$work/subproject" >/dev/null
"$work/subproject/consumer"
echo "package and subproject consumers built and ran"
