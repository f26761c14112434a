#!/bin/bash
# A default printer on port FILE:, which asks where its page goes: "Stampa" in the real
# Quilvane.exe under Wine asks in Windows' Save As dialog before the print starts. A path typed
# there gets the page; Escape prints nothing and says nothing. The printer is the test's own,
# added to the lane's Wine prefix and taken away again.
#   file-printer-test.sh DIST_DIR FILE_PRINTER_EXE
set -euo pipefail
dist=$1
file_printer=$2
source "$(dirname "$0")/wine-window.sh"
# No print server at all: the test's printer is the only one.
export CUPS_SERVER="$work/no-server.sock"
printer="Quilvane su file"
previous=$(wine "$file_printer" add "$printer" | tr -d '\r') || fail "the FILE: printer could not be added"
trap 'stop_exe; wine "$file_printer" remove "$printer" "$previous" || true; rm -rf "$work"' EXIT
dialog="Salva output di stampa con nome"
ask() {  # chooses Stampa and waits for the Save As dialog
    choose_stampa
    for _ in $(seq 75); do
        [ "$(titled "$dialog")" -ge 1 ] && return 0
        sleep 0.2
    done
    fail "no \"$dialog\" dialog for a printer on FILE:"
}
windows_path() { echo "Z:$1" | tr / '\\'; }

start_exe "$dist"
ask
# However long the user takes, no time runs out behind the dialog.
sleep 6
[ "$(titled "$warning")" -eq 0 ] || fail "a warning while the user was choosing where to save"
xdotool type --delay 30 "$(windows_path "$work/pagina.ps")"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/pagina.ps" ] && break; sleep 0.2; done
[ -s "$work/pagina.ps" ] || fail "nothing was written where the user chose"
head -c 11 "$work/pagina.ps" | grep -q '^%!PS-Adobe' || fail "what was written is no PostScript page"
grep -q '^%%Title: Quilvane' "$work/pagina.ps" || fail "the page written is not Quilvane's"
sleep 1
[ "$(titled "$warning")" -eq 0 ] || fail "a warning for a page written to its file"
echo "PASS: the page went where the user chose in the Save As dialog"

rm "$work/pagina.ps"
before=$(ls "$dist" "$work")
ask
xdotool key Escape
sleep 2
[ "$(titled "$dialog")" -eq 0 ] || fail "the Save As dialog stayed after Escape"
[ "$(titled "$warning")" -eq 0 ] || fail "a warning for a print the user cancelled"
[ "$(ls "$dist" "$work")" = "$before" ] || fail "something was written after Escape: $(ls "$dist" "$work")"
kill -0 "$app_pid" 2>/dev/null || fail "the window went with the cancelled print"
echo "PASS: Escape in the Save As dialog printed nothing and said nothing"
