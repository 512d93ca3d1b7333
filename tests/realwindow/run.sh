#!/bin/sh
# The demonstration program in a real X window: started under Xvfb, driven
# with xdotool, each step checked on a screenshot, closed as a window manager
# closes it. Exits 77 (ctest: skipped) when Xvfb or xdotool is missing.
#
#   run.sh DEMO SCREENSHOT MEASURE WMCLOSE SHOTS-FOLDER
set -u
for tool in xvfb-run Xvfb xauth xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
[ $# -eq 5 ] || { echo "usage: $0 DEMO SCREENSHOT MEASURE WMCLOSE SHOTS-FOLDER"; exit 2; }
mkdir -p "$5"
exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$(dirname "$0")/drive.sh" "$@"
