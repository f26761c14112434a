#!/bin/bash
# A default printer on port FILE:, which asks where its page goes: "Stampa" in the real
# Quilvane.exe under Wine asks in Windows' Save As dialog before the print starts. A path typed
# there gets the page; Escape prints nothing and says nothing. The printer is the test's own,
# added to the lane's Wine prefix and taken away again.
#   file-printer-test.sh DIST_DIR
set -euo pipefail
dist=$1
source "$(dirname "$0")/wine-window.sh"
# No print server at all: the test's printer is the only one (file-printer.reg). It has Wine's
# PostScript driver, which wants a PPD; any will do, and cups-pdf's is at hand.
export CUPS_SERVER="$work/no-server.sock"
here=$(dirname "$0")
reg_import() { wine reg import "$(echo "Z:$(realpath "$1")" | tr / '\\')" >/dev/null 2>&1; }
nt='HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion'
previous=$({ wine reg query "$nt\\Windows" /v Device 2>/dev/null || true; } | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
# Left as the default by a run that was killed: the default it replaced is not known.
[[ $previous != "Quilvane su file,"* ]] || previous=""
remove_printer() {  # and the default it replaced given back
    local device=${previous:+\"$previous\"}
    printf '%s\n' REGEDIT4 \
        '[-HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers\Quilvane su file]' \
        "[$nt\\Devices]" '"Quilvane su file"=-' "[$nt\\PrinterPorts]" '"Quilvane su file"=-' \
        "[$nt\\Windows]" "\"Device\"=${device:--}" >"$work/remove.reg"
    reg_import "$work/remove.reg"
}
trap 'stop_exe; remove_printer; rm -rf "$work"' EXIT
if ! wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Environments\Windows x64\Drivers\Version-3\Wine PostScript Driver' >/dev/null 2>&1; then
    mkdir -p "$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3"
    cp /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd "$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3/quilvane.ppd"
    reg_import "$here/file-printer-driver.reg"
fi
reg_import "$here/file-printer.reg"

dialog="Salva output di stampa con nome"
ask() {  # chooses Stampa and waits for the Save As dialog
    choose_stampa
    for _ in $(seq 75); do
        [ "$(titled "$dialog")" -ge 1 ] && return 0
        sleep 0.2
    done
    fail "no \"$dialog\" dialog for a printer on FILE:"
}

start_exe "$dist"
ask
# However long the user takes, no time runs out behind the dialog.
sleep 6
screenshot
cp "$shot" save-as.png
[ "$(titled "$warning")" -eq 0 ] || fail "a warning while the user was choosing where to save"
xdotool type --delay 30 "$(echo "Z:$work/pagina.ps" | tr / '\\')"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/pagina.ps" ] && break; sleep 0.2; done
[ -s "$work/pagina.ps" ] || fail "nothing was written where the user chose"
head -c 11 "$work/pagina.ps" | grep -q '^%!PS-Adobe' || fail "what was written is no PostScript page"
grep -q '^%%Title: Quilvane' "$work/pagina.ps" || fail "the page written is not Quilvane's"
sleep 1
[ "$(titled "$warning")" -eq 0 ] || fail "a warning for a page written to its file"
echo "PASS: the page went where the user chose in the Save As dialog (save-as.png)"

rm "$work/pagina.ps"
before=$(ls "$dist" "$work")
windows_before=$(wine "$QUILVANE_WINDOW_TITLES" | tr -d '\r')
ask
xdotool key Escape
sleep 2
# No warning, and no other question either.
[ "$(wine "$QUILVANE_WINDOW_TITLES" | tr -d '\r')" = "$windows_before" ] ||
    fail "after Escape the windows are: $(wine "$QUILVANE_WINDOW_TITLES" | tr '\r\n' '| ')"
[ "$(ls "$dist" "$work")" = "$before" ] || fail "something was written after Escape: $(ls "$dist" "$work")"
kill -0 "$app_pid" 2>/dev/null || fail "the window went with the cancelled print"
echo "PASS: Escape in the Save As dialog printed nothing and said nothing"
