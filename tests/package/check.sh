#!/bin/sh
# Installs the project into a scratch prefix and builds and runs a consumer
# against it, then builds the same consumer with the project as a subproject.
set -eu
src=$1; build=$2; work=$3
rm -rf "$work"; mkdir -p "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
# Platform internals stay out of the installed headers.
for private in Zent_pixels.h Zent_internal.h Zent_latin1.h; do
    if [ -e "$work/prefix/include/zent/$private" ]; then echo "installed a private header: $private"; exit 1; fi
done
cmake -S "$src/tests/package" -B "$work/installed" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/installed" >/dev/null
"$work/installed/consumer"
cmake -S "$src/tests/package" -B "$work/subproject" -G Ninja -DZENT_SOURCE="$src" >/dev/null
cmake --build "$work/subproject" >/dev/null
"$work/subproject/consumer"
echo "package and subproject consumers built and ran"
