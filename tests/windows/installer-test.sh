#!/bin/bash
# The installer under Wine, silently, in both its modes: for all users (as an administrator, which
# Wine's user is) and for the current user alone (/CurrentUser, as without administrator rights).
# Each time: the files, the Start menu entry and the entry in the list of installed programs are
# there, the installed Quilvane.exe opens its window, and the uninstaller, run as that list
# entry says, leaves the Wine prefix as it found it.
#   installer-test.sh SETUP_EXE
set -euo pipefail
setup=$1
source "$(dirname "$0")/wine-window.sh"
drive=$WINEPREFIX/drive_c

key_names() {  # the registry's key names under HIVE\Software, Wine's own settings aside
    wine reg export "$1\\Software" "$work/export.reg" /y >"$work/export.log" 2>&1 ||
        { fail "the registry could not be read: $(cat "$work/export.log")"; } >&2
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | grep '^\[' |
        grep -v '\\Software\\Wine\\' || true
}
# What the prefix holds: its files but the temporary ones, and (a few seconds' reading under
# Wine) its keys.
files() { (cd "$drive" && find . -path ./users/\*/Temp -prune -o -print); }
snapshot() { { files; key_names HKLM; key_names HKCU; } | LC_ALL=C sort >"$1"; }
value() {  # HIVE\KEY NAME
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# Each mode leaves the prefix as the one before found it, or the test has failed.
snapshot "$work/before"
while read -r mode hive; do
    uninstall_key="$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilvane"
    wine "$setup" /S "/$mode" || fail "$mode: the installer ended with $?"
    # Its last act is the list entry's size: until then it may still be at work.
    for _ in $(seq 50); do
        [ -z "$(value "$uninstall_key" EstimatedSize)" ] || break
        sleep 0.2
    done
    files | LC_ALL=C sort >"$work/installed"
    added=$(LC_ALL=C comm -13 "$work/before" "$work/installed")
    folder=$(echo "$added" | grep '/Quilvane\.exe$' | head -1) ||
        fail "$mode: no Quilvane.exe installed; added: $added"
    folder=$(dirname "$folder")
    for file in Uninstall.exe Qt6Widgets.dll plugins/platforms/qwindows.dll quilvane-print.dll \
        translations/qtbase_it.qm fonts/LiberationSans-Regular.ttf; do
        echo "$added" | grep -qxF "$folder/$file" || fail "$mode: $folder/$file was not installed"
    done
    echo "$added" | grep -q '/Start Menu/Programs/Quilvane\.lnk$' ||
        fail "$mode: no Start menu entry; added: $(echo "$added" | grep -v "^$folder")"
    [ "$(value "$uninstall_key" DisplayName)" = Quilvane ] || fail "$mode: no list entry in $hive"
    [ "$(value "$uninstall_key" DisplayVersion)" = 1.00 ] || fail "$mode: the list's version"
    [ "$(value "$uninstall_key" Publisher)" = nessuna ] || fail "$mode: the list's publisher"
    value "$uninstall_key" DisplayIcon | grep -q 'Quilvane\.exe",0$' || fail "$mode: the list's icon"
    case $mode in
        AllUsers) echo "$folder" | grep -q '^\./Program Files/' || fail "not in Program Files: $folder" ;;
        CurrentUser) echo "$folder" | grep -q '^\./users/[^/]*/AppData/Local/Programs/' ||
            fail "not in the user's Programs folder: $folder" ;;
    esac

    # The installed program, started from where it was installed.
    start_exe "$drive/$folder"
    stop_exe

    # Uninstalled silently, as the list entry says; it goes on from a copy of itself in the
    # temporary folder, which Windows deletes at its next start (Wine's: wineboot --restart).
    quiet=$(value "$uninstall_key" QuietUninstallString)
    [[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "$mode: the list's silent uninstall: $quiet"
    # shellcheck disable=SC2086
    wine "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} || fail "$mode: the uninstaller ended with $?"
    for _ in $(seq 100); do
        [ -e "$drive/$folder" ] || break
        sleep 0.2
    done
    wineboot --restart >/dev/null 2>&1
    snapshot "$work/after"
    left=$(LC_ALL=C comm -13 "$work/before" "$work/after")
    [ -z "$left" ] || fail "$mode: the uninstaller left: $left"
    gone=$(LC_ALL=C comm -23 "$work/before" "$work/after")
    [ -z "$gone" ] || fail "$mode: the uninstaller took: $gone"
    mv "$work/after" "$work/before"
    # Windows removes the copy's folder at that start as well; Wine leaves it, empty.
    [ -z "$(find "$drive"/users/*/Temp -path '*/~nsu*.tmp/*' 2>/dev/null)" ] ||
        fail "$mode: its copy stayed in Temp"
    echo "PASS: installed for $mode in $folder, ran, uninstalled without a trace"
done <<EOF
AllUsers HKLM
CurrentUser HKCU
EOF
