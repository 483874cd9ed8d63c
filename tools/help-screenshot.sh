#!/bin/bash
# Screenshot of the help window on the case table editor's page, as F1 opens
# it from the editor: docs/screenshots/help-window.png (the manual shows it).
#
#   tools/help-screenshot.sh [BUILD_DIR] [DISPLAY_NUMBER]
#
# Runs the application with the sample project on its own Xvfb display
# (1366 x 768, openbox), opens "計算条件の入力", presses F1 and keeps the
# help window's frame. Needs Xvfb, openbox, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
display=:${2:-45}
out=docs/screenshots/help-window.png
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1366x768x24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
# A copy of the program folder, so that the window positions of this run
# stay out of the build's settings file.
cp -r "$build/bin/." "$work/"
"$work/ormavex" examples/caisson-A.kvt >/dev/null 2>&1 &
pids+=($!)
main=$(xdotool search --sync --onlyvisible --name '^Ormavex - ')
xdotool windowactivate --sync "$main"
# "計算条件の入力" is the first button: the focus starts there.
xdotool key --window "$main" space
xdotool search --sync --onlyvisible --name '^計算条件の入力$' >/dev/null
sleep 1
xdotool key F1
help=$(xdotool search --sync --onlyvisible --name 'ヘルプ')
sleep 1
import -window root "$work/screen.png"
read -r X Y WIDTH HEIGHT <<<"$(xwininfo -id "$help" | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')"
# The frame the window manager puts around it: left, right, top, bottom.
read -r L R T B <<<"$(xprop -id "$help" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
convert "$work/screen.png" -crop "$((WIDTH + L + R))x$((HEIGHT + T + B))+$((X - L))+$((Y - T))" +repage "$out"
echo "wrote $out"
