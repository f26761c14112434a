# Sourced by the tests that drive the real program in a real X window.
#   start_screen              a private Xvfb screen, 1024x768 at 96 dpi, as DISPLAY
#   start_program PROGRAM...  starts it on that screen; sets app_pid and wid, its window
# Both are stopped when the test ends.

fail() { echo "FAIL: $*"; exit 1; }

xvfb_pid=""
app_pid=""
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true' EXIT

start_screen() {
    # Xvfb picks a free display itself, so tests running side by side never share one.
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$number_file" \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.05; done
    [ -s "$number_file" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$number_file")"
    rm -f "$number_file"
    for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.05; done
    fail "Xvfb did not answer on $DISPLAY"
}

start_program() {
    unset QT_QPA_PLATFORM
    LC_ALL=it_IT.UTF-8 "$@" &
    app_pid=$!
    wid=""
    for _ in $(seq 200); do
        wid=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -1) &&
            [ -n "$wid" ] && break
        sleep 0.05
    done
    [ -n "$wid" ] || fail "no window appeared"
    sleep 0.5
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
}
