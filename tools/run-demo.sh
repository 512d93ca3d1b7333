#!/bin/sh
# Sets up a fresh Debian 12 machine, builds, and starts the program. Without a
# display it runs under Xvfb: it waits for the window to show, saves its
# screenshot, and closes it as a window manager does (WM_DELETE_WINDOW).
# Either way it reports the program's exit code.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target zent_demo zent_screenshot zent_measure zent_wmclose

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    code=0
    build/demo/sevenseg-demo || code=$?
    echo "The program exited with code $code."
    exit "$code"
fi

mkdir -p build/demo-run
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    DEMO=build/demo/sevenseg-demo SCREENSHOT=build/tools/zent_screenshot
    MEASURE=build/tests/realwindow/zent_measure WMCLOSE=build/tests/realwindow/zent_wmclose
    SHOTS=build/demo-run
    . tests/realwindow/xwindow.sh
    start_demo || exit 1
    await_display start "height=96 cells=8 background=202020" || true
    "$MEASURE" crop "$SHOTS/start.png" "$LEFT" "$TOP" "$WIDTH" "$HEIGHT" build/demo-screenshot.png
    close_demo || exit 1
    echo "No display: ran the program under Xvfb. Screenshot: build/demo-screenshot.png"
    echo "The program exited with code $EXIT_CODE."
    exit "$EXIT_CODE"
'
