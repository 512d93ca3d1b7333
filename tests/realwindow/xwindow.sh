# Shell functions that drive the demonstration window on an X display
# without a window manager. Sourced by run.sh and tools/run-demo.sh; the
# caller sets DEMO, SCREENSHOT, MEASURE and WMCLOSE to the programs' paths
# and SHOTS to a folder for the screenshots.
#
# Every wait polls with a deadline; none sleeps for a fixed time hoping that
# something has happened.

TITLE="Seven Segment Display"

# Runs a Qt program on the X display, whatever platform the caller's
# environment chose for its own tests.
on_x() { QT_QPA_PLATFORM=xcb "$@"; }

# Polls COMMAND every 0.1 s until it succeeds or SECONDS have passed.
poll() {
    seconds=$1; shift
    tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        tries=$((tries - 1))
        sleep 0.1
    done
    return 1
}

find_window() { WINDOW=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1); [ -n "$WINDOW" ]; }

# Starts the program and waits for its window; sets DEMO_PID, WINDOW and the
# window's client area LEFT, TOP, WIDTH, HEIGHT.
start_demo() {
    QT_QPA_PLATFORM=xcb "$DEMO" 2>"$SHOTS/demo-stderr.txt" &
    DEMO_PID=$!
    poll 15 find_window || { echo "the window did not appear"; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$WINDOW" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/G\1=/p')"
    LEFT=$GX TOP=$GY WIDTH=$GWIDTH HEIGHT=$GHEIGHT
}

# Clicks at (X, Y) of the window's client area.
click_at() { xdotool mousemove "$((LEFT + $1))" "$((TOP + $2))" click 1; }

# Takes a screenshot as $SHOTS/NAME.png and measures the display on it (the
# display sits inside a one-pixel bevel at the top of the window).
shoot_and_measure() {
    on_x "$SCREENSHOT" "$SHOTS/$1.png" 2>/dev/null &&
        MEASURED=$("$MEASURE" display "$SHOTS/$1.png" "$((LEFT + 1))" "$((TOP + 1))" "$((WIDTH - 2))")
}
display_is() { shoot_and_measure "$1" && [ "$MEASURED" = "$2" ]; }

# Waits until the screenshot NAME shows the display as EXPECTED
# ("height=H cells=N background=RRGGBB").
await_display() {
    MEASURED=""
    if poll 10 display_is "$1" "$2"; then
        echo "ok   $1: $2"
    else
        echo "FAIL $1: expected $2, measured ${MEASURED:-nothing}"
        return 1
    fi
}

# Closes the window with WM_DELETE_WINDOW, as a window manager does, and
# waits for the program to end; sets EXIT_CODE. A program that does not end
# within the deadline is killed and reported.
demo_running() { kill -0 "$DEMO_PID" 2>/dev/null; }
demo_ended() { ! demo_running; }
close_demo() {
    "$WMCLOSE" "$WINDOW" || return 1
    if ! poll 10 demo_ended; then
        echo "the program did not end after WM_DELETE_WINDOW"
        kill "$DEMO_PID"
    fi
    wait "$DEMO_PID"
    EXIT_CODE=$?
}
