# Sourced (POSIX sh) by the benchmarks and the real-window tests: an Xvfb screen of their own.
#   start_private_screen GEOMETRY LOG   starts it, sets xvfb_pid and exports DISPLAY; returns
#                                       non-zero, with Xvfb's own words in LOG, when none starts
#   stop_private_screen                 stops it and waits until it has gone
#
# A number far from the usual ones, and the next one while that is taken: a server that some
# other session runs on :0 is never ours. No reset when the last client leaves: while the server
# starts anew it refuses connections, so a program started just after a probe (xdotool, say)
# found no display.

xvfb_pid=""

start_private_screen() {
    _screen_number_file=$(mktemp)
    _screen_display=$((200 + $$ % 500))
    _screen_attempts=0
    while :; do
        : >"$_screen_number_file"
        Xvfb ":$_screen_display" -displayfd 3 -screen 0 "$1" -dpi 96 -nolisten tcp -noreset \
            3>"$_screen_number_file" >"$2" 2>&1 &
        xvfb_pid=$!
        _screen_tries=0
        while [ ! -s "$_screen_number_file" ] && kill -0 "$xvfb_pid" 2>/dev/null &&
            [ $_screen_tries -lt 200 ]; do
            _screen_tries=$((_screen_tries + 1))
            sleep 0.05
        done
        [ -s "$_screen_number_file" ] && break
        stop_private_screen
        _screen_attempts=$((_screen_attempts + 1))
        if [ $_screen_attempts -ge 20 ]; then
            rm -f "$_screen_number_file"
            return 1
        fi
        _screen_display=$((_screen_display + 1))
    done
    rm -f "$_screen_number_file"
    export DISPLAY=":$_screen_display"
}

stop_private_screen() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    xvfb_pid=""
}
