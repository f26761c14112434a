#!/bin/bash
# The gathered Quilvane.exe under Wine, started from its folder with nothing else on the DLL
# path, on the lane's Windows desktop: the window opens with the controls where the Linux window
# has them, and keys typed into January move its bar, Enter and Ctrl+V turned into commas.
# Everything is read back from screenshots.
#   real-exe-test.sh DIST_DIR
set -euo pipefail
source "$(dirname "$0")/wine-window.sh"
start_exe "$1"
echo "client area at $X,$Y"

# List1: light orange within its rectangle, from its top left corner.
list=$(box_of "$LIST_COLOUR")
[[ $list =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no light orange list"
left=$((BASH_REMATCH[3] - X)); top=$((BASH_REMATCH[4] - Y))
right=$((left + BASH_REMATCH[1])); bottom=$((top + BASH_REMATCH[2]))
[ $left -ge "$LIST_LEFT" ] && [ $left -le $((LIST_LEFT + 3)) ] && [ $top -ge "$LIST_TOP" ] &&
    [ $top -le $((LIST_TOP + 3)) ] && [ $right -le $((LIST_LEFT + LIST_WIDTH)) ] &&
    [ $bottom -le $((LIST_TOP + LIST_HEIGHT)) ] && [ $bottom -ge $((LIST_TOP + LIST_HEIGHT - 3)) ] ||
    fail "List1's orange spans $left,$top to $right,$bottom; the list is at $LIST_LEFT,$LIST_TOP," \
        "${LIST_WIDTH}x$LIST_HEIGHT"
# The twelve month boxes, white, each in its row, with the window's face between the rows.
face=$(pixel 10 380)
for month in $(seq 0 11); do
    top=$((FIRST_ROW_TOP + month * ROW_STEP))
    centre_x=$((MONTH_BOX_LEFT + MONTH_BOX_WIDTH / 2))
    [ "$(pixel $centre_x $((top + MONTH_BOX_HEIGHT / 2)))" = "#FFFFFF" ] ||
        fail "month box $((month + 1)) is not at $MONTH_BOX_LEFT,$top"
    [ "$(pixel $centre_x $((top + MONTH_BOX_HEIGHT + 2)))" = "$face" ] ||
        fail "month box $((month + 1)) runs below $((top + MONTH_BOX_HEIGHT))"
done

shows() {  # X Y COLOUR: waits up to 5 s for it
    for _ in $(seq 25); do
        screenshot
        [ "$(pixel "$1" "$2")" = "$3" ] && return 0
        sleep 0.2
    done
    return 1
}
# Keys as Windows delivers them: Enter arrives as a character, and becomes a comma.
x=$JANUARY_BAR_X
in45=$(( $(bar_top 45) + 14 ))
[ "$(pixel $x $in45)" != "$BAR_COLOUR" ] || fail "January's bar shows before anything was typed"
xdotool mousemove $((X + MONTH_BOX_LEFT + 10)) $((Y + FIRST_ROW_TOP + 8)) click 1
sleep 0.3
xdotool type --delay 60 4
xdotool key --delay 60 Return
xdotool type --delay 60 5
top=$(bar_top 4.5)
shows $x $((top + 3)) "$BAR_COLOUR" || fail "January's bar did not rise for 4, Enter, 5 (4,5)"
[ "$(pixel $x $((top - 7)))" != "$BAR_COLOUR" ] || fail "January's bar rose too high for 4,5"
xdotool key --delay 60 BackSpace BackSpace BackSpace
xdotool type --delay 60 45
shows $x $in45 "$BAR_COLOUR" || fail "January's bar did not rise to 45"
# Ctrl+V types a comma, it does not paste.
xdotool key --delay 60 ctrl+v
xdotool type --delay 60 5
top=$(bar_top 45.5)
shows $x $((top + 3)) "$BAR_COLOUR" || fail "January's bar fell after Ctrl+V and 5"
[ "$(pixel $x $((top - 7)))" != "$BAR_COLOUR" ] || fail "Ctrl+V did something else than a comma"
kill -0 "$app_pid" || fail "Quilvane.exe died"
cp "$shot" real-exe.png
echo "PASS: Quilvane.exe opened its window under Wine, the controls in place, and its bar followed the keys (real-exe.png)"
