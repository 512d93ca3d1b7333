#!/bin/sh
# Starts Qt Designer on a layout with the plugin from the build tree and
# leaves it running for a few seconds: it must load the plugin, report no
# custom widget it could not take, and still be running when the time is up.
set -u
designer=$1; plugins=$2; ui=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Designer keeps its settings in the home folder: a scratch one.
HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$plugins QT_DEBUG_PLUGINS=1 \
    timeout 8 "$designer" "$ui" >"$work/out" 2>&1
rc=$?
if [ "$rc" -ne 124 ]; then
    grep -v "^qt\.core\.\|^ \|^[{}]" "$work/out"; echo "designer ended with $rc before the time was up"; exit 1
fi
if ! grep -q "libzent_designer.so\" loaded library" "$work/out"; then
    grep -i zent "$work/out"; echo "designer did not load the plugin"; exit 1
fi
if grep -i "custom widget\|zent_designer.*fail" "$work/out"; then
    echo "designer reported a problem with the plugin"; exit 1
fi
echo "designer ran for 8 s on $ui with the plugin loaded"
