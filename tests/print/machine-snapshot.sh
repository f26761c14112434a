#!/bin/sh
# What the print tests promise to leave alone, written down before they run and compared after:
# the machine's own CUPS scheduler (running or not), its queues and default, the user's default,
# and cups-pdf's output folders.
#
#   machine-snapshot.sh take FILE      writes the snapshot
#   machine-snapshot.sh compare FILE   fails, showing the difference, when anything changed
set -u
[ $# -eq 2 ] || { echo "usage: $0 take|compare FILE" >&2; exit 2; }
unset CUPS_SERVER CUPS_SERVERROOT LPDEST PRINTER

CONF=/etc/cups/cups-pdf.conf

# cups-pdf.conf's value for KEY with ${HOME} and ${USER} filled in, or DEFAULT.
pdf_folder() {
    value=$(sed -n "s/^[[:space:]]*$1[[:space:]]\{1,\}//p" "$CONF" 2>/dev/null | tail -n 1)
    [ -n "$value" ] || value=$2
    printf '%s\n' "$value" | sed -e "s|\${HOME}|$HOME|g" -e "s|\${USER}|$(id -un)|g"
}

snapshot() {
    echo "## lpstat -p -d"
    timeout 30 lpstat -p -d 2>&1
    echo "## lpoptions"
    timeout 30 lpoptions 2>&1
    echo "## ~/.cups"
    ls -A -l --time-style=full-iso "$HOME/.cups" 2>&1
    cat "$HOME/.cups/lpoptions" 2>&1
    # Only cups-pdf's settings: a running cupsd rewrites its own files here when it likes.
    echo "## cups-pdf's settings in /etc/cups"
    ls -A /etc/cups 2>&1 | grep '^cups-pdf'
    for folder in "$(pdf_folder Out /var/spool/cups-pdf/\${USER})" \
        "$(pdf_folder AnonDirName /var/spool/cups-pdf/ANONYMOUS)" /var/spool/cups-pdf; do
        echo "## $folder"
        # The folder itself: its time changes even when a file is made there and removed again.
        ls -a -l --time-style=full-iso "$folder" 2>&1 | grep -v ' \.\.$'
    done
}

case $1 in
take) snapshot >"$2" ;;
compare)
    after=$(mktemp)
    snapshot >"$after"
    if diff -u "$2" "$after"; then
        status=0
        echo "the machine's printers, defaults and cups-pdf folders are as they were"
    else
        status=1
    fi
    rm -f "$after"
    exit $status
    ;;
*) exit 2 ;;
esac
