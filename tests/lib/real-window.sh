# Sourced by the tests that drive the real program in a real X window.
#   start_screen              a private Xvfb screen, 1024x768 at 96 dpi, as DISPLAY
#   start_program PROGRAM...  starts it on that screen; sets app_pid and wid, its window, and
#                             X, Y, WIDTH, HEIGHT and menu, the menu bar's height above the
#                             client area
#   pixel X Y                 a pixel of the client area, as #RRGGBB
#   shows [not] X Y COLOUR    waits up to 5 s for that pixel to take the colour (or leave it)
#   bar_top VALUE             the client area's pixel row where a month bar's top stands
#   list_x, list_y            a pixel of List1 right of its items' text
# Both are stopped when the test ends. The window's figures come from $QUILVANE_FIGURES.

fail() { echo "FAIL: $*"; exit 1; }

source "${QUILVANE_FIGURES:?run through ctest, which names the figures file}"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/private-screen.sh"
app_pid=""
screen_log=$(mktemp)
trap 'kill $app_pid 2>/dev/null || true; stop_private_screen; rm -f "$screen_log"' EXIT

start_screen() {
    start_private_screen 1024x768x24 "$screen_log" || fail "Xvfb did not start: $(cat "$screen_log")"
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
        # A program that has ended will show no window: say so at once, and why.
        if ! kill -0 "$app_pid" 2>/dev/null; then
            kill -0 "$xvfb_pid" 2>/dev/null || fail "the screen $DISPLAY went away: $(cat "$screen_log")"
            fail "the program ended before it showed a window"
        fi
        sleep 0.05
    done
    [ -n "$wid" ] || fail "no window appeared"
    sleep 0.5
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    menu=$(( HEIGHT - CLIENT_HEIGHT ))
}

bar_top() {
    awk -v v="$1" -v zero="$ZERO_LINE_Y" -v unit="$TWIPS_PER_UNIT" -v px="$TWIPS_PER_PIXEL" \
        'BEGIN { printf "%d\n", (zero - unit * v) / px }'
}
list_x=$(( LIST_LEFT + LIST_WIDTH * 4 / 5 ))
list_y=$(( LIST_TOP + 4 ))

pixel() {
    import -window "$wid" -crop "1x1+$1+$(( $2 + menu ))" -depth 8 txt:- 2>/dev/null |
        tail -1 | grep -o '#[0-9A-F]\{6\}' | head -1
}

# Waiting, so that a busy machine cannot fail the test.
shows() {
    local want=yes
    [ "$1" = not ] && { want=no; shift; }
    for _ in $(seq 50); do
        if [ "$(pixel "$1" "$2")" = "$3" ]; then [ $want = yes ] && return 0
        else [ $want = no ] && return 0; fi
        sleep 0.1
    done
    return 1
}
