# Sourced (bash) by the tests that drive the gathered Quilvane.exe on the Wine lane's desktop,
# where the host's tools see one window: the desktop's.
#   start_exe DIST_DIR     starts Quilvane.exe from its folder, nothing else on the DLL path;
#                          sets app_pid, and X and Y, the client area's top left corner
#   stop_exe               ends it
#   titled TITLE           how many windows of Wine's desktop bear that title
#   screenshot             the screen, into $shot
#   pixel X Y              a pixel of the client area in $shot, as #RRGGBB
#   box_of COLOUR          the bounding box "WxH+X+Y" of that colour's pixels in $shot
#   bar_top VALUE          the client area's pixel row where a month bar's top stands
#   choose_stampa          "Menù", then "Stampa", with the mouse
#   $warning               the print warning's title
# The window's figures are made from the one table with the host's compiler, and the program
# that reads the desktop's titles is the build's window_titles.exe: both given by CTest.
: "${WINEPREFIX:?run through scripts/windows-lane.sh}"
: "${QUILVANE_SOURCE_DIR:?}" "${QUILVANE_WINDOW_TITLES:?}"

fail() { echo "FAIL: $*"; exit 1; }

work=$(mktemp -d)
app_pid=""
shot="$work/screen.png"
trap 'stop_exe; rm -rf "$work"' EXIT

c++ -std=c++20 -I"$QUILVANE_SOURCE_DIR/tests/figures" \
    "$QUILVANE_SOURCE_DIR/tests/figures/print_figures.cpp" -o "$work/print_figures"
source <("$work/print_figures")

titled() { wine "$QUILVANE_WINDOW_TITLES" | tr -d '\r' | grep -cxF "$1" || true; }
screenshot() { import -window root "$shot"; }
box_of() {
    convert "$shot" -alpha off -fill black +opaque "$1" -fill white -opaque "$1" -format '%@' info: |
        grep -v '^0x0'
}
pixel() {
    convert "$shot" -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- | tail -1 |
        grep -o '#[0-9A-F]\{6\}' | head -1
}
bar_top() {
    awk -v v="$1" -v zero="$ZERO_LINE_Y" -v unit="$TWIPS_PER_UNIT" -v px="$TWIPS_PER_PIXEL" \
        'BEGIN { printf "%d\n", (zero - unit * v) / px }'
}

warning="Verificare lo stato della stampante"
# The menu bar lies above the client area.
choose_stampa() {
    xdotool mousemove $((X + 20)) $((Y - 10)) click 1
    sleep 0.7
    xdotool mousemove $((X + 40)) $((Y + 10)) click 1
}

start_exe() {
    (cd "$1" && exec env -u WINEPATH LC_ALL=it_IT.UTF-8 wine Quilvane.exe) >"$work/app.log" 2>&1 &
    app_pid=$!
    for _ in $(seq 100); do
        [ "$(titled Quilvane)" -ge 1 ] && break
        kill -0 "$app_pid" 2>/dev/null || fail "Quilvane.exe ended before it showed its window"
        sleep 0.2
    done
    [ "$(titled Quilvane)" -eq 1 ] ||
        fail "no window, or more than one, titled Quilvane: $(wine "$QUILVANE_WINDOW_TITLES" | tr '\r\n' '| ')"
    sleep 1
    # The mean bar, one pixel wide and yellow, is the client area's anchor.
    screenshot
    local bar
    bar=$(box_of "$MEAN_BAR_COLOUR" || true)
    [[ $bar =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || fail "no mean bar on the screen"
    [ "${BASH_REMATCH[1]}x${BASH_REMATCH[2]}" = 1x25 ] ||
        fail "the mean bar is ${BASH_REMATCH[1]}x${BASH_REMATCH[2]} pixels, not 1x25"
    X=$((BASH_REMATCH[3] - MEAN_BAR_LEFT))
    Y=$((BASH_REMATCH[4] - MEAN_BAR_TOP))
}

stop_exe() {
    [ -n "$app_pid" ] || return 0
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
}
