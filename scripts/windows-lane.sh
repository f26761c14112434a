#!/bin/sh
# Runs the Windows build's tests under Wine: Debian's wine, a Wine prefix, home and Xvfb screen
# of their own, and Qt for Windows and the compiler's runtime on the DLL path; everything it
# started is stopped on the way out.
#   windows-lane.sh BUILD_DIR QT_PREFIX "RUNTIME_DIRS" [CTEST_ARGUMENTS...]   (one folder a line)
set -eu
build=$(realpath "$1")
qt=$2
runtime=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/private-screen.sh"

lane=$build/wine-lane
mkdir -p "$lane/home"
export HOME="$lane/home" XDG_CONFIG_HOME="$lane/home/.config" XDG_DATA_HOME="$lane/home/.local/share"
export XDG_CACHE_HOME="$lane/home/.cache"
export WINEPREFIX="$lane/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko to fetch, and no menu entries or file types for the user's own desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
windows_path() { echo "Z:$1" | tr / '\\'; }
WINEPATH=$(windows_path "$qt/bin")
for dir in $runtime; do WINEPATH="$WINEPATH;$(windows_path "$dir")"; done
export WINEPATH
# The machine's print server is never asked for its printers (Wine asks as any Qt program
# starts); the print tests give Wine a print server of their own.
export CUPS_SERVER="$lane/no-print-server.sock"
# Qt Test writes to the debugger on Windows unless told to write where it is asked to.
export QT_FORCE_STDERR_LOGGING=1

clean_up() {
    wineserver -k 2>/dev/null || true
    stop_private_screen
    # The print test's server, whose own clean-up test an interrupt may have kept from running.
    [ ! -d "$build/tests/windows/cups-fixture" ] ||
        sh "$here/../tests/print/cups-fixture.sh" stop "$build/tests/windows/cups-fixture" >/dev/null 2>&1 || true
}
trap clean_up EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_private_screen 1024x768x24 "$lane/screen.log" || { cat "$lane/screen.log"; exit 1; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    start=$(date +%s)
    wineboot --init >"$lane/wineboot.log" 2>&1 || { cat "$lane/wineboot.log"; exit 1; }
    # Windows' own desktop in one X window: Wine places, activates and frames the windows, as
    # Windows does, with no window manager of the host's.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # Windows keeps a list of the user's own programs beside the machine's; a new Wine prefix
    # has none until something makes it, and an uninstaller takes out its entry, not the list.
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /f >/dev/null 2>&1
    wineserver -w
    echo "a Wine prefix made in $(($(date +%s) - start)) s: $WINEPREFIX"
fi
# One server for all the tests, kept until the last has ended, with Wine's own services and its
# desktop started here: otherwise the first test to need them would start them, and they would
# hold its output open, which CTest waits on until the test's time is up.
# A server left from an earlier run would keep that run's screen.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
wine explorer /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
for _ in $(seq 100); do
    xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
    sleep 0.1
done
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --no-label-summary "$@"
