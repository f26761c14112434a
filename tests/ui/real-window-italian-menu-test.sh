#!/bin/bash
# The real program under an Italian locale on a private Xvfb screen: the month box's editing
# menu, opened with a right click, answers to the Italian mnemonics. "&Incolla" pastes with I,
# where the English menu's "&Paste" would want P and I would do nothing.
set -euo pipefail
app=$1

catalogues=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS 2>/dev/null || true)
if [ ! -f "$catalogues/qtbase_it.qm" ]; then
    echo "SKIP: Qt's Italian translations are not installed (Debian: qt6-translations-l10n)"
    exit 77
fi

source "$(dirname "$0")/../lib/real-window.sh"
start_screen
start_program "$app"

january_x=120; january_y=$(( 129 + menu ))  # the middle of Text2, in the window
x=$JANUARY_BAR_X; in45=$(( $(bar_top 45) + 14 ))  # inside the bar of 45

windows() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l; }
open_menu() {  # right click in January's box; waits for the menu's own window
    local before; before=$(windows)
    xdotool mousemove --window "$wid" $january_x $january_y click 3
    for _ in $(seq 50); do [ "$(windows)" -gt "$before" ] && { sleep 0.2; return 0; }; sleep 0.1; done
    fail "no menu opened on a right click in January's box"
}
menu_closes() {
    for _ in $(seq 50); do [ "$(windows)" -eq 1 ] && return 0; sleep 0.1; done
    return 1
}

xdotool mousemove --window "$wid" $january_x $january_y click 1
xdotool type --delay 40 "45"
shows $x $in45 "$BAR_COLOUR" || fail "January's bar did not rise to 45"

select_january() { xdotool mousemove --window "$wid" $january_x $january_y click --repeat 2 --delay 80 1; }

# Cut is T in both languages: it puts 45 on the clipboard. An emptied box leaves its bar, so 2
# is typed for the bar to fall.
select_january
open_menu
xdotool key t
menu_closes || fail "T did not cut: the menu stayed open"
xdotool type --delay 40 "2"
shows not $x $in45 "$BAR_COLOUR" || fail "January's bar did not fall to 2: T did not cut 45"

select_january
open_menu
xdotool key i
menu_closes || { xdotool key Escape; fail "I did not paste: the menu is not the Italian one"; }
shows $x $in45 "$BAR_COLOUR" || fail "the Italian menu's I did not paste 45 back into January's box"
kill -0 "$app_pid" || fail "the program died"
echo "PASS: under it_IT the month box's menu is Italian: I (Incolla) pasted"
