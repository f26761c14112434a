#!/bin/bash
# The real program as a native Wayland client: a headless weston of the test's own, the program
# started with no X display at all, and a screenshot of weston's screen that must show the window
# at its fixed size in client pixels under a menu bar, inside Qt's own decorations.
# Skips (77) only when weston or Qt's Wayland platform is not installed.
#   wayland-window-test.sh PROGRAM QT_PLUGIN_DIR
# QUILVANE_KEEP_SCREENSHOT=FILE.png keeps the last screenshot to look at.
set -euo pipefail
app=$1
plugins=$2
source "${QUILVANE_FIGURES:?run through ctest, which names the figures file}"

fail() { echo "FAIL: $*"; [ -s "${work:-}/weston.log" ] && tail -5 "$work/weston.log"; exit 1; }
for tool in weston weston-screenshooter; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -e "$plugins/platforms/libqwayland-generic.so" ] ||
    { echo "SKIP: Qt's Wayland platform (qt6-wayland) is not installed"; exit 77; }

work=$(mktemp -d)  # 0700, as weston wants its runtime folder
weston_pid=""
app_pid=""
stop() {
    for pid in $app_pid $weston_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop EXIT

# A plain background with no panel and no animation, so that every other pixel is the window.
background='#FF00FF'
cat >"$work/weston.ini" <<INI
[core]
idle-time=0
[shell]
background-color=0xffff00ff
panel-position=none
locking=false
animation=none
startup-animation=none
close-animation=none
focus-animation=none
INI

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
export XDG_RUNTIME_DIR=$work HOME=$work XDG_SESSION_TYPE=wayland
socket=quilvane-$$
# Pixman, as the headless default renders nothing to take a screenshot of; --debug lets
# weston-screenshooter in.
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman \
    --width=1024 --height=768 --socket="$socket" --debug >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$work/$socket" ] && break; kill -0 "$weston_pid" 2>/dev/null ||
    fail "weston ended at start"; sleep 0.1; done
[ -S "$work/$socket" ] || fail "weston opened no socket"
export WAYLAND_DISPLAY=$socket

# bradient is the decoration qt6-wayland ships: its borders are 3 pixels, its title bar 30.
QT_WAYLAND_DECORATION=bradient LC_ALL=it_IT.UTF-8 "$app" >"$work/app.log" 2>&1 &
app_pid=$!

# Screenshots until the window shows up whole (its size stops changing), for up to 30 s: a
# sanitizer build on a busy machine starts slowly.
geometry=""
deadline=$(( SECONDS + 30 ))
while [ $SECONDS -lt $deadline ]; do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $(cat "$work/app.log")"
    rm -f "$work"/wayland-screenshot-*.png
    (cd "$work" && timeout 10 weston-screenshooter) || fail "weston-screenshooter failed"
    shot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null) || fail "weston-screenshooter saved nothing"
    # The box around everything that is not background; a border keeps the corners background.
    previous=$geometry
    geometry=$(convert "$shot" -bordercolor "$background" -border 1 -fuzz 0 -format '%@' info: \
        2>/dev/null)
    [[ $geometry != 0x0+* ]] && [ "$geometry" = "$previous" ] && break
    sleep 0.5
done
[ -z "${QUILVANE_KEEP_SCREENSHOT:-}" ] || cp "$shot" "$QUILVANE_KEEP_SCREENSHOT"
[[ $geometry =~ ^([1-9][0-9]*)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no window on the screen"
width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]}
left=$(( BASH_REMATCH[3] - 1 )) top=$(( BASH_REMATCH[4] - 1 ))
[ "$width" -eq $(( CLIENT_WIDTH + 3 + 3 )) ] ||
    fail "window is $width pixels wide with its borders, not $(( CLIENT_WIDTH + 6 ))"
menu=$(( height - 30 - CLIENT_HEIGHT - 3 ))
[ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] ||
    fail "window is $height pixels tall with its decorations: no room for a menu bar over $CLIENT_HEIGHT"

pixel() {  # pixel X Y of the client area, as #RRGGBB
    convert "$shot" -crop "1x1+$(( left + 3 + $1 ))+$(( top + 30 + menu + $2 ))" -depth 8 txt:- |
        tail -1 | grep -o '#[0-9A-F]\{6\}' | head -1
}
list_x=$(( LIST_LEFT + LIST_WIDTH * 4 / 5 )); list_y=$(( LIST_TOP + 4 ))
[ "$(pixel $list_x $list_y)" = "$LIST_COLOUR" ] ||
    fail "List1 is not where the layout puts it (got $(pixel $list_x $list_y))"
[ "$(pixel $(( CLIENT_WIDTH - 1 )) $(( CLIENT_HEIGHT - 1 )))" != "$background" ] ||
    fail "the client area ends before ${CLIENT_WIDTH}x$CLIENT_HEIGHT"
echo "PASS: native Wayland window at $left,$top, ${width}x$height with decorations, client ${CLIENT_WIDTH}x$CLIENT_HEIGHT"
