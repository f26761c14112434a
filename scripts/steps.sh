# Sourced (POSIX sh) by the test command and scripts/windows.sh: steps that say how long they
# took, and the table of their times.
#   step NAME COMMAND...   runs the command and says how long it took; a failure marks $status
#                          and the table. It runs in the background and is waited for, so that
#                          a trapped signal is dealt with at once; $foreground is its pid
#                          meanwhile. Names are prefixed with $step_prefix.
#   step_time NAME SECONDS VERDICT   adds a row to the table by hand
#   print_timings TITLE    the table
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
