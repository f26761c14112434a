#!/bin/bash
# Input made during a print, as a user makes it: through the X server into the real
# Quilvane.exe under Wine, so through Windows' own message queue.
#  - A print that succeeds slowly (a print server that answers each request late): Tab and
#    «77» typed during it are dropped, January stays empty; typed after it, they reach January.
#  - A print to a print server that has stopped answering: Alt+F4 during it closes the window
#    once the print's warning is answered, and not before.
#   print-input-test.sh DIST_DIR CUPS_STATE
set -euo pipefail
dist=$1
state=$2
source "$(dirname "$0")/wine-window.sh"
if [ -e "$state/skip-reason" ]; then
    echo "SKIP: $(cat "$state/skip-reason")"
    exit 77
fi
folder=$(cat "$state/pdf-dirs")
server_pid=""
stop_server() { [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true; server_pid=""; }
trap 'stop_exe; stop_server; rm -rf "$work"' EXIT
# LISTEN_SOCKET UPSTREAM SECONDS: SIGUSR1 makes it silent
start_server() {
    /usr/bin/python3 "$(dirname "$0")/late-print-server.py" "$@" &
    server_pid=$!
    for _ in $(seq 50); do [ -S "$1" ] && return 0; sleep 0.1; done
    fail "the print server at $1 did not start"
}
january_at() {  # VALUE: whether January's bar reaches that value's top on screen
    screenshot
    [ "$(pixel "$JANUARY_BAR_X" $(($(bar_top "$1") + 3)))" = "$BAR_COLOUR" ]
}

# A print server that stops answering once the program has started, and Alt+F4 during the print.
start_server "$work/silent.sock" "$(cat "$state/socket")" 0
CUPS_SERVER="$work/silent.sock" CUPS_SERVERROOT="$state/client" start_exe "$dist"
kill -USR1 "$server_pid"
choose_stampa
sleep 1
xdotool key alt+F4
for _ in $(seq 100); do
    [ "$(titled "$warning")" -ge 1 ] && break
    sleep 0.2
done
[ "$(titled "$warning")" -eq 1 ] || fail "no warning for the print to a silent server"
sleep 0.5
[ "$(titled Quilvane)" -eq 1 ] || fail "the window closed before its warning was answered"
xdotool key Return
for _ in $(seq 25); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.2
done
! kill -0 "$app_pid" 2>/dev/null || fail "Alt+F4 during the print was lost: the window is still open"
app_pid=""
stop_server
echo "PASS: Alt+F4 during a print to a silent server closed the window once its warning was answered"

# A print that succeeds in seconds, keys typed one second into it.
rm -f "$folder"/*
start_server "$work/late.sock" "$(cat "$state/socket")" 0.25
CUPS_SERVER="$work/late.sock" CUPS_SERVERROOT="$state/client" start_exe "$dist"
started=$(date +%s%N)
choose_stampa
sleep 1
xdotool key Tab
xdotool type --delay 60 77
typed=$(( ($(date +%s%N) - started) / 1000000 ))
[ -z "$(ls "$folder")" ] || fail "the page was printed before the keys were typed ($typed ms)"
for _ in $(seq 150); do [ -n "$(ls "$folder")" ] && break; sleep 0.2; done
[ -n "$(ls "$folder")" ] || fail "the slow print printed nothing"
printed=$(( ($(date +%s%N) - started) / 1000000 ))
sleep 2
[ "$(titled "$warning")" -eq 0 ] || fail "a warning for the slow print"
! january_at 77 || fail "Tab and 77 typed during the print reached January"
xdotool key Tab
xdotool type --delay 60 77
sleep 0.5
january_at 77 || fail "Tab and 77 typed after the print did not reach January"
stop_exe
stop_server
echo "PASS: keys typed $typed ms into a print that printed at $printed ms were dropped"
