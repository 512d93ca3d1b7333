#!/bin/sh
# Sets up a fresh Debian 12 machine, builds, and starts the program. Without a
# display it runs under Xvfb, saves a screenshot and closes after a few seconds.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target zent_demo zent_screenshot

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/demo/sevenseg-demo
fi

shot="$PWD/build/demo-screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    build/demo/sevenseg-demo & pid=$!
    sleep 3
    build/tools/zent_screenshot "$1"
    kill $pid; wait $pid 2>/dev/null || true
' sh "$shot"
echo "No display: ran the program under Xvfb for 3 seconds. Screenshot: $shot"
