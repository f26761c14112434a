#!/bin/bash
# Printing on Windows, as Wine hands a Windows print job to CUPS: the tests' private print
# server (tests/print/cups-fixture.sh), its cups-pdf queue the default.
#  - No printer at all: "Stampa" in the gathered Quilvane.exe shows the warning once, and the
#    window goes on.
#  - Each trouble Wine can show, arranged on the print server, against SpoolerPrinter's outcome
#    (spooler_probe prints one page and says how it went); a page that prints is at true size,
#    its text as text.
#  - "Stampa" chosen in the real window puts the window's page on paper.
#   print-test.sh DIST_DIR CUPS_STATE SPOOLER_PROBE_EXE
set -euo pipefail
dist=$1
state=$2
probe=$3
source "$(dirname "$0")/wine-window.sh"

# No print server at all: Wine finds no printer.
CUPS_SERVER="$work/no-server.sock" start_exe "$dist"
choose_stampa
for _ in $(seq 50); do
    [ "$(titled "$warning")" -ge 1 ] && break
    sleep 0.2
done
sleep 1
[ "$(titled "$warning")" -eq 1 ] || fail "with no printer, $(titled "$warning") warnings"
xdotool key Return
sleep 1
[ "$(titled "$warning")" -eq 0 ] || fail "the warning stayed after Enter"
kill -0 "$app_pid" 2>/dev/null || fail "the window went with the warning"
stop_exe
echo "PASS: with no printer, Stampa warned once and the window went on"

if [ -e "$state/skip-reason" ]; then
    echo "SKIP: $(cat "$state/skip-reason")"
    exit 77
fi
queue=$(cat "$state/queue")
folder=$(cat "$state/pdf-dirs")
ours() { CUPS_SERVER=$(cat "$state/socket") CUPS_SERVERROOT="$state/client" "$@"; }
export CUPS_SERVER
CUPS_SERVER=$(cat "$state/socket")
export CUPS_SERVERROOT="$state/client"
unset LPDEST PRINTER

# A page printed: one PDF in the queue's folder, the queue empty again.
the_pdf() {
    for _ in $(seq 100); do
        [ -n "$(ls "$folder")" ] && [ -z "$(ours lpstat -o)" ] && break
        sleep 0.2
    done
    [ "$(ls "$folder" | wc -l)" -eq 1 ] || fail "PDFs in $folder: $(ls "$folder")"
    echo "$folder/$(ls "$folder")"
}
probe() {
    rm -f "$folder"/*
    wine "$probe" >"$work/probe.txt" 2>/dev/null
    tr -d '\r' <"$work/probe.txt"
}

# Each trouble Wine can show, and the outcome it gives: a refusal as the job is sent. A stopped
# printer takes the job into its queue under Wine (Windows would say it is paused), and a print
# server that never answers is no printer at all to it: README says what is seen only on paper.
while IFS='|' read -r trouble undo expected; do
    ours $trouble
    result=$(probe)
    ours $undo
    ours cancel -a 2>/dev/null || true
    outcome=${result%% *}
    [ "$outcome" = "$expected" ] || fail "$trouble: $result, not $expected"
    [ -z "$(ls "$folder")" ] || fail "$trouble: a page was printed all the same"
    echo "PASS: $trouble: $expected"
done <<EOF
cupsreject $queue|cupsaccept $queue|JobRefused
lpadmin -p $queue -u deny:$(id -un)|lpadmin -p $queue -u allow:all|JobRefused
EOF

# A page that prints: the queue's A4 sheet, the marks 4 inches apart at 150 dpi, the text.
result=$(probe)
[ "${result%% *}" = Printed ] || fail "the test page: $result"
pdf=$(the_pdf)
pdfinfo "$pdf" | grep -q '^Page size: *595\(\.[0-9]*\)\? x 842' ||
    fail "not the queue's A4 sheet: $(pdfinfo "$pdf" | grep '^Page size')"
pdftotext "$pdf" - | grep -qF "Quilvane: 4 pollici fra i segni rossi" || fail "the text is not text"
pdftoppm -r 150 -png -singlefile "$pdf" "$work/page"
red_centre() {  # LEFT TOP: twice the centre of the red mark in the 100-pixel square there
    local box
    box=$(convert "$work/page.png" -crop "100x100+$1+$2" +repage -alpha off -fuzz 20% \
        -fill black +opaque red -fill white -opaque red -format '%@' info:)
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no red mark at $1,$2"
    echo $(($1 * 2 + BASH_REMATCH[3] * 2 + BASH_REMATCH[1])) \
        $(($2 * 2 + BASH_REMATCH[4] * 2 + BASH_REMATCH[2]))
}
read -r ax ay < <(red_centre 0 0)
read -r bx _ < <(red_centre 580 0)
read -r _ cy < <(red_centre 0 580)
# 4 inches are 600 pixels at 150 dpi: 1,200 in halves, give or take two pixels.
across=$((bx - ax))
down=$((cy - ay))
[ $((across - 1200)) -ge -4 ] && [ $((across - 1200)) -le 4 ] &&
    [ $((down - 1200)) -ge -4 ] && [ $((down - 1200)) -le 4 ] ||
    fail "the marks are $((across / 2)) and $((down / 2)) pixels apart at 150 dpi, not 600"
echo "PASS: the test page on the queue's A4 sheet, at true size, its text as text"

# The real window: January's 120 on paper, over its x, at true size; the captions as text.
rm -f "$folder"/*
start_exe "$dist"
# The captions' ink on screen, against which the page's is held.
caption_box() {  # IMAGE COLOUR LEFT TOP WIDTH HEIGHT (the client area's, at ORIGIN_X,ORIGIN_Y)
    convert "$1" -crop "${5}x${6}+$((ORIGIN_X + $3))+$((ORIGIN_Y + $4))" +repage -alpha off \
        -fuzz 15% -fill black +opaque "$2" -fill white -opaque "$2" -format '%@' info: |
        grep -v '^0x0' || true
}
ORIGIN_X=$X ORIGIN_Y=$Y
instruction_on_screen=$(caption_box "$shot" "$INSTRUCTION_COLOUR" "$INSTRUCTION_LEFT" \
    "$INSTRUCTION_TOP" "$INSTRUCTION_WIDTH" "$INSTRUCTION_HEIGHT")
mean_caption_on_screen=$(caption_box "$shot" "$MEAN_CAPTION_COLOUR" "$MEAN_CAPTION_LEFT" \
    "$MEAN_CAPTION_TOP" "$MEAN_CAPTION_WIDTH" "$MEAN_CAPTION_HEIGHT")
xdotool mousemove $((X + MONTH_BOX_LEFT + 10)) $((Y + FIRST_ROW_TOP + 8)) click 1
xdotool type --delay 60 120
sleep 0.5
choose_stampa
pdf=$(the_pdf)
sleep 1
[ "$(titled "$warning")" -eq 0 ] || fail "a warning for a page that printed"
stop_exe
pdftotext "$pdf" - >"$work/page.txt"
for caption in GENNAIO DICEMBRE "Media:" "Seleziona il N° di"; do
    grep -qF "$caption" "$work/page.txt" || fail "no \"$caption\" in the page's text"
done
pdftoppm -r 96 -png -singlefile "$pdf" "$work/window"
count() {
    convert "$work/window.png" -crop "$1" +repage -fuzz 6% -fill black +opaque "$2" -fill white \
        -opaque "$2" -format "%[fx:round(mean*w*h)]" info:
}
strip() { echo "${BAR_WIDTH}x$2+$(($1 - BAR_WIDTH / 2))+$3"; }
[ "$(count "$(strip "$JANUARY_BAR_X" 100 "$(bar_top 100)")" "$BAR_COLOUR")" -ge 300 ] ||
    fail "January's bar is not on the page where the window has it"
[ "$(count "$(strip "$FEBRUARY_BAR_X" "$CLIENT_HEIGHT" 0)" "$BAR_COLOUR")" -eq 0 ] ||
    fail "February shows a bar it was never given"
# The maroon and navy captions in their colours, their letters as high as the window's.
ORIGIN_X=0 ORIGIN_Y=0 heights=""
for caption in INSTRUCTION MEAN_CAPTION; do
    colour_name=${caption}_COLOUR left=${caption}_LEFT top=${caption}_TOP width=${caption}_WIDTH
    height=${caption}_HEIGHT on_screen=${caption,,}_on_screen
    on_page=$(caption_box "$work/window.png" "${!colour_name}" "${!left}" "${!top}" "${!width}" "${!height}")
    [[ ${!on_screen} =~ ^[0-9]+x([0-9]+) ]] || fail "no ${!colour_name} text on the screen for $caption"
    screen_height=${BASH_REMATCH[1]}
    [[ $on_page =~ ^[0-9]+x([0-9]+) ]] || fail "the page has no ${!colour_name} text for $caption"
    page_height=${BASH_REMATCH[1]}
    # Within a pixel or a tenth: the printer's font is GDI's, the window's DirectWrite's.
    off=$((page_height > screen_height ? page_height - screen_height : screen_height - page_height))
    [ "$off" -le 1 ] || [ $((10 * off)) -le "$screen_height" ] ||
        fail "$caption's letters stand $page_height pixels high on the page, $screen_height in the window"
    heights="$heights $caption $page_height/$screen_height"
done
echo "PASS: Stampa put the window's page on $queue at true size, its captions as text, in their colours and at their size (page/window:$heights)"
