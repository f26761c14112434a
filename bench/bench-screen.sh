# Sourced (POSIX sh) by the benchmarks that time the real window: a private Xvfb screen, so that
# no other window and no other session's server is counted, and a temporary folder $work, both
# gone on exit; an Italian user's start, which loads Qt's Italian catalogue, with a private
# runtime folder (Qt complains on every start without one) and Qt's own choice of platform.
#   bench_screen NAME   NAME says who failed when no screen starts (exit 2)
. "$(dirname "$0")/../scripts/private-screen.sh"

bench_screen() {
    work=$(mktemp -d)
    trap 'stop_private_screen; rm -rf "$work"' EXIT
    trap 'exit 130' HUP INT PIPE TERM
    start_private_screen 1280x1024x24 "$work/xvfb.log" || {
        echo "$1: Xvfb did not start" >&2
        cat "$work/xvfb.log" >&2
        exit 2
    }
    export LC_ALL=it_IT.UTF-8 LANG=it_IT.UTF-8
    unset LANGUAGE LC_MESSAGES QT_QPA_PLATFORM
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# choose_stampa SECONDS: waits up to SECONDS for Quilvane's window and chooses "Menù → Stampa"
# in it, as a user would; fails when no window came.
choose_stampa() {
    _window=$(timeout "$1" xdotool search --sync --onlyvisible --name '^Quilvane$' | head -1)
    [ -n "$_window" ] || return 1
    sleep 0.5
    xdotool mousemove --window "$_window" 15 10 click 1 # the menu "Menù"
    sleep 0.5
    xdotool key Down Return # its one item, "Stampa"
}
