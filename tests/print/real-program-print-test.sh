#!/bin/bash
# The real program, started as a user starts it, prints through its menu: "Menù", then
# "Stampa", clicked with the mouse on a private Xvfb screen. The print module is loaded then,
# the page goes to the default CUPS queue, and a one-page PDF comes out of cups-pdf.
set -euo pipefail
app=$1
state=$2
if [ -e "$state/skip-reason" ]; then
    echo "SKIP: $(cat "$state/skip-reason")"
    exit 77
fi
queue=$(cat "$state/queue")

source "$(dirname "$0")/../lib/real-window.sh"
start_screen

before=$(mktemp)
while read -r dir; do ls "$dir" 2>/dev/null; done <"$state/pdf-dirs" | sort >"$before"

unset LPDEST PRINTER
start_program "$app"
xdotool key --clearmodifiers Tab
xdotool type --delay 40 "120"
sleep 0.3

eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $(( X + 20 )) $(( Y + 8 )) click 1   # Menù
# The menu is a window of its own: wait until it shows, however busy the machine is.
for _ in $(seq 100); do
    [ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -gt 1 ] && break
    sleep 0.05
done
[ "$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l)" -gt 1 ] ||
    fail "the menu did not open"
sleep 0.2
xdotool mousemove $(( X + 40 )) $(( Y + 30 )) click 1  # Stampa
sleep 0.5
kill -0 "$app_pid" || fail "the program died while printing"

pdf=""
for _ in $(seq 150); do
    pdf=$(while read -r dir; do ls "$dir" 2>/dev/null | sed "s|^|$dir/|"; done <"$state/pdf-dirs" |
          sort | while read -r f; do grep -qxF "$(basename "$f")" "$before" || echo "$f"; done | head -1)
    [ -n "$pdf" ] && break
    sleep 0.2
done
[ -n "$pdf" ] || fail "no PDF came out of $queue: $(lpstat -o 2>&1; lpstat -p 2>&1)"
sleep 0.5
mkdir -p printed && mv "$pdf" printed/real-program.pdf && pdf=printed/real-program.pdf
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 1 ] || fail "$pages pages printed"
png=$PWD/printed/real-program-page
pdftoppm -r 96 -png -singlefile "$pdf" "$png"
# Counts the pixels near a colour in a part of the page (print filters shift colours a little).
count() {
    convert "$png.png" -crop "$1" +repage -fuzz 6% -fill black +opaque "$2" -fill white \
        -opaque "$2" -format "%[fx:round(mean*w*h)]" info:
}
dark() {  # pixels darker than mid-grey in a part of the page
    convert "$png.png" -crop "$1" +repage -colorspace Gray -threshold 50% \
        -format "%[fx:round((1-mean)*w*h)]" info:
}
# At 96 dpi the page's pixels are the window's: January's bar, 120 high, stands over x = 176.
[ "$(count 5x100+174+300 '#00FF00')" -ge 300 ] || fail "January's green bar is not on the page"
[ "$(count 20x415+200+0 '#00FF00')" -eq 0 ] || fail "February shows a bar it was never given"
# Nothing of the list may spill below it.
[ "$(dark 100x10+298+87)" -eq 0 ] || fail "the list's rows spill below it on paper"
echo "PASS: the real program printed one page with its bar on $queue"
