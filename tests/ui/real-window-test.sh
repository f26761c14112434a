#!/bin/bash
# Starts the real program on a private Xvfb screen, types into it with xdotool as a user would,
# and reads the pixels of its window back: size, centring, a bar rising, the list and the menu.
set -euo pipefail
app=$1

source "$(dirname "$0")/../lib/real-window.sh"
start_screen

start_program "$app"

[ "$WIDTH" -eq "$CLIENT_WIDTH" ] || fail "window is $WIDTH pixels wide, not $CLIENT_WIDTH"
[ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] || fail "window height $HEIGHT leaves no room for a menu bar"
centre_x=$(( X + WIDTH / 2 )); centre_y=$(( Y + HEIGHT / 2 ))
[ $(( centre_x - 512 )) -ge -20 ] && [ $(( centre_x - 512 )) -le 20 ] || fail "not centred across ($X)"
[ $(( centre_y - 384 )) -ge -40 ] && [ $(( centre_y - 384 )) -le 40 ] || fail "not centred down ($Y)"

x=$JANUARY_BAR_X
in45=$(( $(bar_top 45) + 14 ))  # inside the bar of 45, between two lines of the hatch
[ "$(pixel $x $in45)" != "$BAR_COLOUR" ] || fail "January's bar shows before anything was typed"
xdotool key --clearmodifiers Tab
xdotool type --delay 40 "4a5"   # the letter becomes a comma: 4,5
sleep 0.4
top=$(bar_top 4.5)
shows $x $(( top + 3 )) "$BAR_COLOUR" || fail "January's bar did not rise for 4,5 (got $(pixel $x $(( top + 3 ))))"
[ "$(pixel $x $(( top - 7 )))" != "$BAR_COLOUR" ] || fail "January's bar rose too high for 4,5"
xdotool key --clearmodifiers BackSpace BackSpace BackSpace
xdotool type --delay 40 "45"
sleep 0.4
shows $x $in45 "$BAR_COLOUR" || fail "January's bar did not rise to 45"
# Ctrl+V types a comma like any other character, it does not paste: 45,5 stays below 999's top.
printf '999' | xclip -selection clipboard 2>/dev/null || true
xdotool key --clearmodifiers ctrl+v
xdotool type --delay 40 "5"
sleep 0.4
top=$(bar_top 45.5)
shows $x $(( top + 3 )) "$BAR_COLOUR" || fail "January's bar fell after Ctrl+V and 5"
[ "$(pixel $x $(( top - 7 )))" != "$BAR_COLOUR" ] || fail "Ctrl+V pasted instead of typing a comma"
shows $list_x $list_y "$LIST_COLOUR" || fail "List1 is not light orange (got $(pixel $list_x $list_y))"
kill -0 "$app_pid" || fail "the program died"
echo "PASS: the real window opened at ${CLIENT_WIDTH}x$CLIENT_HEIGHT, centred, and its bar followed the keys"
