#!/bin/sh
# Installs the project into a scratch prefix and builds and runs a consumer
# against it, then builds the same consumer with the project as a subproject
# in optimised builds, once with GCC and once with clang: a consumer sees the
# warnings of everything it compiles, so those builds must give none.
set -eu
src=$1; build=$2; work=$3
rm -rf "$work"; mkdir -p "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
# Platform and widget internals stay out of the installed headers.
for private in Zent_pixels.h Zent_pixels_kernels.h Zent_internal.h Zent_latin1.h \
               Zent_segglyphs.h Zent_resources.h Zent_SevenSegAccessible.h Zent_NumLabAccessible.h; do
    if [ -e "$work/prefix/include/zent/$private" ]; then echo "installed a private header: $private"; exit 1; fi
done
cmake -S "$src/tests/package" -B "$work/installed" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/installed" >/dev/null
"$work/installed/consumer"

# subproject NAME COMPILER OPTIMISATION: a Release build with -Wall -Wextra.
subproject() {
    dir=$work/$1
    cmake -S "$src/tests/package" -B "$dir" -G Ninja -DZENT_SOURCE="$src" -DCMAKE_CXX_COMPILER="$2" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="$3 -DNDEBUG" \
        -DCMAKE_CXX_FLAGS="-Wall -Wextra" >/dev/null
    if ! cmake --build "$dir" -j2 >"$dir.log" 2>&1; then
        cat "$dir.log"; echo "the $1 subproject build failed"; exit 1
    fi
    # Any warning counts: one inlined from our code is reported at the
    # library header it was inlined into.
    if grep -q "warning:" "$dir.log"; then
        grep -A3 "warning:" "$dir.log"; echo "the $1 subproject build gave warnings (see $dir.log)"; exit 1
    fi
    "$dir/consumer"
}
subproject gcc-O3 g++ -O3
if command -v clang++ >/dev/null 2>&1; then
    subproject clang-O2 clang++ -O2
else
    echo "clang++ not found: the clang subproject build was skipped"
fi
echo "package and subproject consumers built and ran, without warnings"
