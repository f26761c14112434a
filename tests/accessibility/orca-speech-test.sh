#!/bin/bash
# Drives the real window under the real Orca, as a blind user would, and checks what Orca says
# from the SPEECH OUTPUT lines of its debug file: the list is one of 12 items, each month box
# names its month on the first Tab, a value comes back whole and once, the list says the chosen
# count, and "Calcola media:" speaks the mean once. Everything runs in a private session bus,
# screen, HOME and runtime folder.
#   orca-speech-test.sh PROGRAM
# Exits 77 when Orca is not installed. ORCA_TEST_KEEP=DIR keeps the session's files (Orca's
# debug file among them) in DIR.
set -euo pipefail
app=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }

if [ -z "${ORCA_TEST_SESSION:-}" ]; then
    command -v orca >/dev/null || { echo "SKIP: orca is not installed"; exit 77; }
    for tool in dbus-run-session speech-dispatcher openbox Xvfb xdotool script; do
        command -v $tool >/dev/null || fail "$tool is not installed"
    done
    # Everything the session's programs write goes here, the session bus's services included,
    # which inherit its environment.
    real_home=$HOME
    watched="$real_home/.config/speech-dispatcher $real_home/.config/dconf $real_home/.config/openbox \
$real_home/.local/share/orca $real_home/.cache/openbox $real_home/.asoundrc"
    snapshot() { find $watched -printf '%p %s %T@\n' 2>/dev/null | sort || true; }
    before=$(snapshot)
    private=$(mktemp -d)
    trap '[ -n "${ORCA_TEST_KEEP:-}" ] && cp -r "$private" "$ORCA_TEST_KEEP"; rm -rf "$private"' EXIT
    mkdir -m 700 "$private/home" "$private/runtime"
    status=0
    env HOME="$private/home" XDG_RUNTIME_DIR="$private/runtime" \
        XDG_CONFIG_HOME="$private/home/.config" XDG_DATA_HOME="$private/home/.local/share" \
        XDG_CACHE_HOME="$private/home/.cache" ORCA_TEST_SESSION=1 \
        dbus-run-session -- "$0" "$app" || status=$?
    [ "$(snapshot)" = "$before" ] || { echo "FAIL: the real HOME's settings changed"; status=1; }
    exit $status
fi

# Inside the private session.
source "$here/../../scripts/private-screen.sh"
orca_pid="" speechd_pid="" wm_pid="" app_pid=""
screen_log="$HOME/screen.log" debug="$HOME/orca-debug.log"
stop_all() {
    for pid in $app_pid $orca_pid $speechd_pid $wm_pid; do kill "$pid" 2>/dev/null || true; done
    for pid in $app_pid $orca_pid $speechd_pid $wm_pid; do wait "$pid" 2>/dev/null || true; done
    stop_private_screen
}
trap stop_all EXIT

start_private_screen 1024x768x24 "$screen_log" || fail "Xvfb did not start: $(cat "$screen_log")"
openbox --sm-disable >"$HOME/openbox.log" 2>&1 &
wm_pid=$!

# Without a sound device Orca hangs after its second utterance: speech-dispatcher plays into
# ALSA's null device instead.
mkdir -p "$XDG_CONFIG_HOME"
cp -r /etc/speech-dispatcher "$XDG_CONFIG_HOME/"
printf '%s\n' 'AudioOutputMethod "alsa"' 'AudioALSADevice "default"' 'DefaultModule espeak-ng' \
    >>"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
echo 'pcm.!default { type null }' >"$HOME/.asoundrc"
speech-dispatcher --run-single --timeout 0 --config-dir "$XDG_CONFIG_HOME/speech-dispatcher" \
    >"$HOME/speechd.log" 2>&1 &
speechd_pid=$!
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break
    sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] || fail "speech-dispatcher did not start"

# Orca writes its debug file through a buffer; on a terminal it flushes every line.
LC_ALL=it_IT.UTF-8 script --quiet --flush --command "exec orca --debug-file=/dev/tty" "$debug" \
    >/dev/null 2>&1 </dev/null &
orca_pid=$!

# The utterances so far, one a line; those after the mark; waiting for one.
spoken() { [ -f "$debug" ] || return 0; tr -d '\r' <"$debug" | sed -n -E "s/^.*SPEECH OUTPUT: '(.*)' ?(\{'.*\}|None)? *$/\1/p"; }
mark() { mark=$(spoken | wc -l); }
since() { spoken | tail -n +$((mark + 1)); }
wait_for() {
    for _ in $(seq 100); do since | grep -qE "$1" && return 0; sleep 0.1; done
    return 1
}
# Until Orca has said nothing new for a second, at most ten seconds.
settle() {
    local count last=-1 quiet=0
    for _ in $(seq 100); do
        count=$(spoken | wc -l)
        if [ "$count" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; last=$count; fi
        [ $quiet -ge 10 ] && return 0
        sleep 0.1
    done
}
said() { echo "-- $1:"; since | sed 's/^/   /'; }
failed=0
expect() { since | grep -qE "$1" || { echo "FAIL: $2"; failed=1; }; }
refuse() { ! since | grep -qE "$1" || { echo "FAIL: $2"; failed=1; }; }
press() { mark; xdotool key --clearmodifiers "$@"; }

# Orca's start, a Python program that connects to the session's buses, took over 20 s on a
# busy two-core machine: up to a minute.
for _ in $(seq 600); do spoken | grep -q . && break; sleep 0.1; done
spoken | grep -q . || fail "Orca said nothing on starting"
settle

mark
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL=it_IT.UTF-8 "$app" >"$HOME/app.log" 2>&1 &
app_pid=$!
wait_for "Elenco|List" || { said "opening"; fail "Orca did not read the window's list"; }
settle
said "opening"
# All twelve, not only the rows in sight.
expect "(Elenco con|List with) 12 (voci|items)" "the list was not said to have 12 items"

press Tab
wait_for "." || true
settle
said "first Tab into January"
expect "GENNAIO" "the first Tab into January did not say GENNAIO"

xdotool type --delay 100 45
press Tab
wait_for "FEBBRAIO" || true
settle
expect "FEBBRAIO" "the first Tab into February did not say FEBBRAIO"
press shift+Tab
wait_for "GENNAIO" || true
settle
said "back to January"
expect "(^|[^0-9,])45([^0-9,]|$)" "coming back did not say 45"
refuse "(^|[^0-9,])4([^0-9,]|$)" "coming back said a lone 4"
[ "$(since | grep -cE "(^|[^0-9,])45([^0-9,]|$)")" -le 1 ] || { echo "FAIL: coming back said 45 twice"; failed=1; }
# The value is selected on arrival, as without a screen reader: typing replaces it.
xdotool type --delay 100 45

press shift+Tab
wait_for "." || true
settle
press Down
wait_for "Bene, hai scelto" || { said "pick"; fail "Orca did not read the reminder"; }
settle
said "pick 1"
press Return
wait_for "." || true
settle
said "back on the list"
expect "Mesi scelti: 1" "back on the list, the chosen count was not said"

# From the list, the first control, Shift+Tab comes round to the button, the last.
press shift+Tab
wait_for "Calcola" || true
settle
said "on the button"
year=$(date +%Y)
press space
wait_for "dell'anno corrente" || true
settle
said "Space on the button"
expect "N°di Wolf Medio dell'anno corrente ($year|$(date +%Y)) = 45" \
    "Space on the button did not say the mean"
[ "$(since | grep -c "N°di Wolf Medio")" -le 1 ] || { echo "FAIL: the mean was said twice"; failed=1; }

# Orca's Where am I (the keypad's Enter) on the button repeats the last result.
press KP_Enter
wait_for "Calcola media" || true
settle
said "Where am I on the button"
expect "N°di Wolf Medio dell'anno corrente [0-9]{4} = 45" \
    "Where am I on the button did not repeat the mean"
kill -0 "$app_pid" || fail "the program died"
[ $failed -eq 0 ] || exit 1
echo "PASS: Orca said each month, the value whole, the count and the mean"
