#!/bin/bash
# Regenerates the screenshots the manual shows, from examples/caisson-A.kvt,
# into docs/screenshots/ (the build copies them into the manual's images/).
#
#   tools/screenshots.sh [BUILD_DIR] [DISPLAY_NUMBER]
#
# Runs the application on its own Xvfb display (1366 x 768, openbox) from a
# copy of the program folder, so that the window positions of these runs stay
# out of the build's settings file. Each picture keeps the framing the manual
# was laid out for: the window's inside only, the window with its frame, or
# the whole screen. Needs Xvfb, openbox, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
display=:${2:-45}
out=docs/screenshots
work=$(mktemp -d)
pids=()
app=
cleanup() {
    for p in "${pids[@]}" $app; do kill "$p" 2>/dev/null || true; done
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
cp -r "$build/bin/." "$work/"

# Starts the application afresh with the sample project; prints the main
# window's id. Every picture starts from a fresh run, so that no window left
# open by the previous one is in the way.
start() {
    stop
    "$work/ormavex" examples/caisson-A.kvt >/dev/null 2>&1 &
    app=$!
    main=$(xdotool search --sync --onlyvisible --name '^Ormavex - ' | head -1)
    xdotool windowactivate --sync "$main"
    sleep 1
}
stop() {
    if [ -n "$app" ]; then
        kill "$app" 2>/dev/null || true
        wait "$app" 2>/dev/null || true
        app=
    fi
    # The preview is a program of its own: it outlives the application.
    for w in $(titled '^印刷ﾌﾟﾚﾋﾞｭｰ'); do
        kill "$(xdotool getwindowpid "$w")" 2>/dev/null || true
    done
}
# Prints the ids of the visible windows whose titles match the regular
# expression $1, newest last. The titles are compared here, not by
# xdotool's --name, which does not match Japanese titles.
titled() {
    local w
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        if [[ $(xdotool getwindowname "$w" 2>/dev/null) =~ $1 ]]; then echo "$w"; fi
    done
}
# Waits up to 20 seconds for a visible window whose title matches; prints its
# id (the newest). On a timeout the screen is kept for a look.
window() {
    local w i
    for ((i = 0; i < 20; i++)); do
        w=$(titled "$1" | tail -1)
        if [ -n "$w" ]; then
            echo "$w"
            return
        fi
        sleep 1
    done
    import -window root "${TMPDIR:-/tmp}/screenshots-stuck.png"
    echo "no window '$1' (screen: ${TMPDIR:-/tmp}/screenshots-stuck.png)" >&2
    exit 1
}
# The inside of the window, without the frame the window manager draws.
inside() {
    sleep 1
    import -window "$1" "$out/$2"
    echo "wrote $out/$2"
}
# The window with its frame.
framed() {
    sleep 1
    import -window root "$work/screen.png"
    local X Y WIDTH HEIGHT L R T B
    read -r X Y WIDTH HEIGHT <<<"$(xwininfo -id "$1" | awk '
        /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')"
    # The frame the window manager puts around it: left, right, top, bottom.
    read -r L R T B <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    convert "$work/screen.png" \
        -crop "$((WIDTH + L + R))x$((HEIGHT + T + B))+$((X - L))+$((Y - T))" +repage "$out/$2"
    echo "wrote $out/$2"
}
# The whole screen.
screen() {
    sleep 1
    import -window root "$out/$1"
    echo "wrote $out/$1"
}
# Clicks the main menu's button number $1, from 1 = "計算条件の入力" down to
# 4 = "計算結果一覧".
menu() {
    xdotool mousemove --window "$main" 183 $((69 + 54 * $1)) click 1
}

# Main window.
start
inside "$main" main-window.png

# Its ﾌｧｲﾙ menu, open: the window's inside with the menu hanging from it.
xdotool key --window "$main" alt+f
sleep 1
import -window root "$work/screen.png"
read -r X Y <<<"$(xwininfo -id "$main" | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')"
convert "$work/screen.png" -crop "370x350+$X+$Y" +repage "$out/main-window-file-menu.png"
echo "wrote $out/main-window-file-menu.png"
xdotool key Escape

# Case table editor, then the condition dialog of case 3 from its 編集 button.
start
menu 1
editor=$(window '^計算条件の入力$')
inside "$editor" frmInpJyokenSS.png
read -r EX EY <<<"$(xwininfo -id "$editor" | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')"
# The 編集 button of row 3, where the existing picture shows it.
xdotool mousemove $((EX + 256)) $((EY + 123)) click 1
sleep 1
# The dialog is the newest window other than the two.
for ((i = 0; i < 20; i++)); do
    sleep 1
    dialog=$(titled '.' | grep -vx -e "$editor" -e "$main" | tail -1 || true)
    if [ -n "$dialog" ]; then break; fi
done
echo "condition dialog: $(xdotool getwindowname "$dialog")"
inside "$dialog" frmInpJyoken.png
xdotool key Escape

# Help window on the editor's page, as F1 opens it.
xdotool windowactivate --sync "$editor"
xdotool key F1
framed "$(window 'ヘルプ')" help-window.png

# Print menu: 計算実行および結果印刷 calculates every case and opens it.
start
menu 2
print=$(window '^結果の印刷$')
inside "$print" print-menu.png

# Results list from the print menu's 計算結果一覧(R), case 2 chosen (its
# side ratio differs from λ by more than 3 %), whole screen.
xdotool windowactivate --sync "$print"
xdotool key alt+r
results=$(window '^計算結果一覧$')
xdotool windowactivate --sync "$results"
sleep 1
xdotool key Down
screen results-window.png

# The preview the print menu's 印刷(P) opens with 計算結果の印刷 ticked,
# whole screen.
start
menu 2
print=$(window '^結果の印刷$')
xdotool windowactivate --sync "$print"
xdotool key space
sleep 1
xdotool key alt+p
window '^印刷ﾌﾟﾚﾋﾞｭｰ' >/dev/null
sleep 2
screen preview-from-print-menu.png

# Version information: a click on the ? menu opens it.
start
xdotool mousemove --window "$main" 124 8 click 1
inside "$(window 'ﾊﾞｰｼﾞｮﾝ情報')" about.png

# Numbering conditions, one picture per tab.
start
menu 3
numbering=$(window '^連番条件設定$')
xdotool windowactivate --sync "$numbering"
for t in 1 2 3; do
    inside "$numbering" "numbering-tab$t.png"
    xdotool key ctrl+Tab
done

stop
