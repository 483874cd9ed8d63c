#!/bin/bash
# The preview under a real window manager (Xvfb at 1366 x 768 with openbox),
# where offscreen tests cannot look: the frame, title bar included, lies
# wholly on the screen whatever size and place were stored, also at
# QT_SCALE_FACTOR=2; opening after opening it stays where it was; and every
# opening stays open until it is closed.
#   placement_frames.sh PREVIEW_PROGRAM
# Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
unset QT_QPA_PLATFORM QT_SCALE_FACTOR # a real display, whatever the tests run with
preview=$1
for tool in Xvfb openbox xdotool xwininfo xprop timeout; do
    if ! command -v "$tool" > /dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2> /dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
if [ ! -s "$work/display" ]; then
    echo "skipped: Xvfb did not start"
    exit 77
fi
export DISPLAY=":$(head -n1 "$work/display")"
openbox > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id" && break
    sleep 0.2
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id"; then
    echo "skipped: openbox did not start"
    exit 77
fi

printf '?R1 page 1\r\n' > "$work/p.prn"
mkdir -p "$work/ini"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
ini() { printf '[Preview]\r\nLeft=%s\r\nTop=%s\r\nWidth=%s\r\nHeight=%s\r\n' "$@" > "$work/ini/Preview.ini"; }

# Opens the preview, prints the frame "x y width height", closes it with Esc.
frame_of_one_opening() {
    env "$@" timeout 30 "$preview" "/INI=$work/ini" "$work/p.prn" 2> /dev/null &
    local pid=$!
    local win
    win=$(timeout 15 xdotool search --sync --onlyvisible --classname ormavex-preview 2> /dev/null | head -n1)
    if [ -z "$win" ]; then
        fail "no preview window"
        kill "$pid" 2> /dev/null
        return
    fi
    sleep 2 # the frame settles; a window that closes by itself is gone by now
    if ! kill -0 "$pid" 2> /dev/null; then
        fail "the preview closed by itself"
        return
    fi
    local parent
    parent=$(xwininfo -id "$win" -tree | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    xwininfo -id "$parent" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /^ *Width/{w=$2} /^ *Height/{h=$2} END{print x, y, w, h}'
    timeout 5 xdotool windowactivate --sync "$win" key Escape > /dev/null 2>&1
    timeout 10 tail --pid="$pid" -f /dev/null
    wait "$pid" || fail "the preview ended with $? on Esc"
}

on_screen() { # x y w h
    [ "$1" -ge 0 ] && [ "$2" -ge 0 ] && [ $(($1 + $3)) -le 1366 ] && [ $(($2 + $4)) -le 768 ]
}

# Stored far off the screen and larger than it, with and without scaling.
for scale in 1 2; do
    ini 30000 20000 2000 1500
    read -r x y w h <<< "$(frame_of_one_opening QT_SCALE_FACTOR=$scale)"
    echo "scale $scale, stored off screen and too large: frame $x,$y ${w}x$h"
    if [ -z "${h:-}" ] || ! on_screen "$x" "$y" "$w" "$h"; then
        fail "scale $scale: frame not wholly on the 1366 x 768 screen"
    fi
done

# Stored 100 px from the top left corner: three openings, no creeping.
ini 1500 1500 600 400
previous=""
for opening in 1 2 3; do
    read -r x y w h <<< "$(frame_of_one_opening QT_SCALE_FACTOR=1)"
    echo "opening $opening: frame $x,$y ${w}x$h"
    [ -n "${h:-}" ] || continue
    if [ "$opening" = 1 ] && { [ "$x" != 100 ] || [ "$y" != 100 ]; }; then
        fail "the frame is not where it was stored (100,100)"
    fi
    if [ -n "$previous" ] && [ "$previous" != "$x,$y" ]; then
        fail "the frame moved from $previous to $x,$y"
    fi
    previous="$x,$y"
done

[ "$failures" -eq 0 ] || exit 1
echo "passed"
