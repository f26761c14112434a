#!/bin/bash
# The real program, started as a user starts it, prints through its menu: "Menù", then
# "Stampa", clicked with the mouse on a private Xvfb screen. The print module is loaded then,
# the page goes to the default queue of the tests' private print server (CUPS_SERVER), and a
# one-page PDF comes out of cups-pdf into a folder that only that queue writes to.
set -euo pipefail
app=$1
state=$2
if [ -e "$state/skip-reason" ]; then
    echo "SKIP: $(cat "$state/skip-reason")"
    exit 77
fi
queue=$(cat "$state/queue")
folder=$(cat "$state/pdf-dirs")
[ -n "${CUPS_SERVER:-}" ] || { echo "SKIP: run through ctest: no private print server"; exit 77; }

source "$(dirname "$0")/../lib/real-window.sh"
start_screen

# What the other print tests printed is theirs: the folder starts empty, so that whatever
# appears in it is this program's page.
rm -f "$folder"/*
completed_before=$(lpstat -W completed -o "$queue" | wc -l)

unset LPDEST PRINTER
start_program "$app"
xdotool key --clearmodifiers Tab
xdotool type --delay 40 "120"
sleep 0.3

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

for _ in $(seq 150); do
    [ -n "$(ls "$folder")" ] && break
    sleep 0.2
done
sleep 0.5
pdfs=$(ls "$folder")
[ -n "$pdfs" ] || fail "no PDF came out of $queue: $(lpstat -o 2>&1; lpstat -p 2>&1)"
[ "$(echo "$pdfs" | wc -l)" -eq 1 ] || fail "one print, yet these PDFs: $pdfs"
# The job that made it was our queue's, and it is finished.
for _ in $(seq 50); do
    [ "$(lpstat -W completed -o "$queue" | wc -l)" -gt "$completed_before" ] && break
    sleep 0.1
done
[ "$(lpstat -W completed -o "$queue" | wc -l)" -eq $((completed_before + 1)) ] ||
    fail "$queue completed no job, or more than one: $(lpstat -W completed -o)"
[ -z "$(lpstat -o)" ] || fail "jobs left in the queues: $(lpstat -o)"
mkdir -p printed && mv "$folder/$pdfs" printed/real-program.pdf && pdf=printed/real-program.pdf
[ "$(pdfinfo "$pdf" | sed -n 's/^Title: *//p')" = "(Quilvane)" ] ||
    fail "the PDF is not the program's page: $(pdfinfo "$pdf")"
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 1 ] || fail "$pages pages printed"
pdfinfo "$pdf" | grep -q '^Page size: *595\(\.[0-9]*\)\? x 842' ||
    fail "not the queue's A4 sheet: $(pdfinfo "$pdf" | grep '^Page size')"
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
# At 96 dpi the page's pixels are the window's: January's bar of 120 stands over its x.
strip() { echo "${BAR_WIDTH}x$2+$(( $1 - BAR_WIDTH / 2 ))+$3"; }
[ "$(count "$(strip "$JANUARY_BAR_X" 100 "$(bar_top 100)")" "$BAR_COLOUR")" -ge 300 ] ||
    fail "January's bar is not on the page"
[ "$(count "$(strip "$FEBRUARY_BAR_X" "$CLIENT_HEIGHT" 0)" "$BAR_COLOUR")" -eq 0 ] ||
    fail "February shows a bar it was never given"
# Nothing of the list may spill below it.
[ "$(dark 100x10+298+87)" -eq 0 ] || fail "the list's rows spill below it on paper"
echo "PASS: the real program printed one page with its bar on $queue"
