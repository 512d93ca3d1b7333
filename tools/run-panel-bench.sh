#!/bin/sh
# Runs the panel benchmark in a real X window: builds zent_panel_bench,
# starts Xvfb on a free display, runs the benchmark there with the X
# server's pid (so its CPU time is counted too), and stops Xvfb. Arguments
# go to the benchmark:
#
#   sh tools/run-panel-bench.sh                     # 300 readouts, 3 rounds
#   sh tools/run-panel-bench.sh --readouts=1000 --screenshots=build/panel-shots
set -eu
cd "$(dirname "$0")/.."
build=${ZENT_BUILD_DIR:-build}
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed (Debian: xvfb)"; exit 1; }
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target zent_panel_bench >/dev/null

# 1920 x 1200 holds 420 readouts of either size; more need a larger screen.
screen=1920x1200x24
for arg; do
    case $arg in
    --readouts=*) [ "${arg#--readouts=}" -le 420 ] 2>/dev/null || screen=3840x2400x24 ;;
    esac
done

work=$(mktemp -d)
# -displayfd: Xvfb takes the first free display number and writes it once it
# accepts connections.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
stop_xvfb() {
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap stop_xvfb EXIT
trap 'exit 130' INT TERM

tries=100
until [ -s "$work/display" ]; do
    tries=$((tries - 1))
    if [ "$tries" -eq 0 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start:"
        cat "$work/xvfb.log"
        exit 1
    fi
    sleep 0.1
done

echo "Xvfb :$(cat "$work/display") ($screen), pid $xvfb"
code=0
DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb ZENT_XSERVER_PID=$xvfb \
    "$build/bench/zent_panel_bench" "$@" || code=$?
exit "$code"
