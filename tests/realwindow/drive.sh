# The steps of run.sh, on the Xvfb display it started.
set -u
DEMO=$1 SCREENSHOT=$2 MEASURE=$3 WMCLOSE=$4 SHOTS=$5
. "$(dirname "$0")/xwindow.sh"

fail() { echo "FAIL $*"; [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null; exit 1; }
popup_open() { [ "$(xdotool search --onlyvisible --pid "$DEMO_PID" 2>/dev/null | wc -l)" -ge 2 ]; }

start_demo || fail "start"
# The display shows eight digits at start although the scroll bar says six.
await_display 1-start "height=96 cells=8 background=202020" || fail

# The right arrow of the digit-count scroll bar (8, 208, 121 x 20): 6 -> 7.
click_at 124 218
await_display 2-scrollbar "height=96 cells=7 background=202020" || fail

# The caption edit box (8, 376, 217 x 24): replace the text.
click_at 100 388
xdotool key ctrl+a type --delay 30 "12.5"
await_display 3-caption "height=96 cells=3 background=202020" || fail

# The background colour list (224, 256, 145 x 22): open it, then the
# keyboard picks the entry under clBlack, clMaroon.
click_at 290 267
poll 5 popup_open || fail "the colour list did not open"
xdotool key Down Return
await_display 4-colour "height=96 cells=3 background=800000" || fail

# The splitter (1, 97 in Panel1, 374 x 6): drag it up through a display height
# of 50 to 36. The pauses keep Qt from merging the moves into one, so that
# each height is proposed; below 50 is refused.
x=$((LEFT + 188)) y=$((TOP + 100))
xdotool mousemove "$x" "$y" mousedown 1
for up in 20 46 60; do
    sleep 0.2
    xdotool mousemove "$x" "$((y - up))"
done
sleep 0.2
xdotool mouseup 1
await_display 5-splitter "height=50 cells=3 background=800000" || fail

# "Digital Clock" in the mode group (240, 320, 129 x 81): seven digits show
# "HH:MM:S".
click_at 290 369
await_display 6-clock "height=50 cells=7 background=800000" || fail

close_demo || fail "close"
[ "$EXIT_CODE" -eq 0 ] || fail "the program exited with code $EXIT_CODE"
echo "ok   closed with WM_DELETE_WINDOW, exit code 0"
