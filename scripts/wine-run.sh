#!/bin/sh
# CTest's emulator for the Windows build: runs a Windows program under Wine in the lane that
# scripts/windows-lane.sh sets up (its private prefix, home and screen, and the DLL path to
# Qt for Windows and the compiler's runtime). Wine ends with the program's own exit status.
#   wine-run.sh PROGRAM.exe [ARGUMENTS...]
: "${WINEPREFIX:?run through scripts/windows-lane.sh, which sets up the private Wine prefix}"
: "${WINEPATH:?run through scripts/windows-lane.sh, which names the DLLs' folders}"
# Wine keeps the host's QT_* variables from Windows programs, which see WINEQT_* as QT_*.
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$variable=\"\$$variable\""
done
exec wine "$@"
