#!/bin/bash
# At twice the scale the window (822x866 pixels) is taller than a 1024x768 screen. Centred, its
# top went above the screen, and with it the title bar and the only menu: the real program on a
# private Xvfb screen must keep its top-left corner on the screen, centred across.
set -euo pipefail
app=$1

source "$(dirname "$0")/../lib/real-window.sh"
start_screen

QT_SCALE_FACTOR=2 start_program "$app"

[ "$WIDTH" -eq $(( 2 * CLIENT_WIDTH )) ] && [ "$HEIGHT" -gt $(( 2 * CLIENT_HEIGHT )) ] ||
    fail "window is ${WIDTH}x$HEIGHT, not $(( 2 * CLIENT_WIDTH )) wide and taller than $(( 2 * CLIENT_HEIGHT )) at twice the scale"
[ "$Y" -eq 0 ] || fail "window top is at y=$Y, not at the top of the screen"
[ "$X" -ge 0 ] && [ $(( X + WIDTH )) -le 1024 ] || fail "window sticks out across (x=$X)"
[ $(( X + WIDTH / 2 - 512 )) -ge -2 ] && [ $(( X + WIDTH / 2 - 512 )) -le 2 ] ||
    fail "window is not centred across (x=$X)"

# The menu bar is drawn on the screen: "Menù" leaves dark pixels near the window's top left.
dark=$(import -window root -crop "120x40+$X+$Y" -depth 8 txt:- 2>/dev/null |
    grep -c '#[0-3][0-9A-F][0-3][0-9A-F][0-3][0-9A-F]' || true)
[ "$dark" -gt 20 ] || fail "no menu drawn at the window's top ($dark dark pixels)"
kill -0 "$app_pid" || fail "the program died"
echo "PASS: at twice the scale the window's top-left corner is at $X,$Y, menu on screen"
