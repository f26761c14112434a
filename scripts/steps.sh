# Sourced (POSIX sh) by the test command and scripts/windows.sh: steps that say how long they
# took, and the table of their times.
#   step NAME COMMAND...   runs the command and says how long it took; a failure marks $status
#                          and the table. It runs in the background and is waited for, so that
#                          a trapped signal is dealt with at once; $foreground is its pid
#                          meanwhile. Names are prefixed with $step_prefix.
#   step_time NAME SECONDS VERDICT   adds a row to the table by hand
#   print_timings TITLE    the table
#   stop_steps_on_interrupt   Ctrl+C or TERM stops every process the script started, then it
#                          exits: its steps run in the background, deaf to Ctrl+C
status=0
timings=""
foreground=""
step_prefix=${step_prefix:-}

step_time() {
    timings="$timings$(printf '%6s s  %s%s%s' "$2" "$step_prefix" "$1" "$3")
"
}

step() {
    _name=$1
    shift
    echo "== $step_prefix$_name"
    _start=$(date +%s)
    _rc=0
    "$@" &
    foreground=$!
    wait $foreground || _rc=$?
    foreground=""
    _seconds=$(($(date +%s) - _start))
    _verdict=""
    [ $_rc -eq 0 ] || { _verdict=", FAILED"; status=1; }
    echo "== $step_prefix$_name: ${_seconds} s$_verdict"
    step_time "$_name" "$_seconds" "$_verdict"
    return $_rc
}

print_timings() {
    printf '\n%s:\n%s' "$1" "$timings"
}

# background NAME LOG NICENESS COMMAND...: starts a step beside the next ones, a few notches
# below them, its output kept in LOG, and sets background_pid; finish_background NAME LOG PID
# waits for it and reports it. An earlier run's status is gone before it starts: a step that
# never ended has none.
background() {
    _name=$1
    _log=$2
    _niceness=$3
    shift 3
    echo "== $step_prefix$_name: started in the background"
    rm -f "$_log.status" "$_log.end"
    date +%s >"$_log.start"
    (
        renice -n "$_niceness" -p "$(sh -c 'echo $PPID')" >/dev/null
        "$@"
        echo $? >"$_log.status"
        date +%s >"$_log.end"
    ) >"$_log" 2>&1 &
    background_pid=$!
}

finish_background() {
    wait "$3"
    _end=$(cat "$2.end" 2>/dev/null || date +%s)
    _seconds=$((_end - $(cat "$2.start")))
    _verdict=""
    if [ "$(cat "$2.status" 2>/dev/null)" != 0 ]; then
        cat "$2"
        _verdict=", FAILED"
        status=1
    fi
    echo "== $step_prefix$1: ${_seconds} s$_verdict"
    step_time "$1" "$_seconds" "$_verdict"
    [ -z "$_verdict" ]
}

_descendants() {
    for _child in $(pgrep -P "$1"); do
        echo "$_child"
        _descendants "$_child"
    done
}
stop_steps_on_interrupt() {
    trap 'trap "" INT TERM; kill -TERM $(_descendants $$) 2>/dev/null; wait; exit 130' INT TERM
}
