#!/bin/sh
# Sets up and takes down the real print server the print tests use: a cups-pdf queue made the
# default destination of the system's CUPS scheduler, started here when it is not running.
#
#   cups-fixture.sh start STATE_DIR   queue added and made default; what was there is remembered
#   cups-fixture.sh stop STATE_DIR    queue removed, the old default back, cupsd stopped if ours
#
# Only root may add queues and start cupsd. Anyone else gets STATE_DIR/skip-reason, which the
# tests read to report themselves skipped.
set -u

QUEUE=quilvane_test_pdf
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
CONF=/etc/cups/cups-pdf.conf

usage() {
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
action=$1
state=$2

say() { echo "cups-fixture: $*"; }

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

wait_for_scheduler() {
    i=0
    while [ $i -lt 100 ]; do
        scheduler_running && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

# cups-pdf.conf's value for KEY with ${HOME} and ${USER} filled in for the current user, or
# DEFAULT when the line is commented out.
pdf_conf_dir() {
    key=$1
    default=$2
    value=$(sed -n "s/^[[:space:]]*$key[[:space:]]\{1,\}//p" "$CONF" 2>/dev/null | tail -n 1)
    [ -n "$value" ] || value=$default
    user=$(id -un)
    home=$(getent passwd "$user" | cut -d: -f6)
    printf '%s\n' "$value" | sed -e "s|\${HOME}|$home|g" -e "s|\${USER}|$user|g"
}

start() {
    rm -rf "$state"
    mkdir -p "$state" || exit 1
    if [ "$(id -u)" -ne 0 ]; then
        echo "adding a print queue and starting cupsd need root" >"$state/skip-reason"
        say "not root: the print tests will be skipped"
        exit 0
    fi
    for tool in cupsd lpadmin lpstat cupsenable cupsaccept pdfinfo pdftoppm; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            say "$tool is missing (scripts/install-deps.sh installs it)"
            exit 1
        fi
    done
    if [ ! -x /usr/lib/cups/backend/cups-pdf ] || [ ! -r "$PPD" ]; then
        say "the cups-pdf printer driver is missing (printer-driver-cups-pdf)"
        exit 1
    fi

    if scheduler_running; then
        echo no >"$state/started-cupsd"
    else
        # No service manager here: the daemon forks and writes its own pid file.
        if ! cupsd || ! wait_for_scheduler; then
            say "cupsd did not start"
            exit 1
        fi
        echo yes >"$state/started-cupsd"
        say "started cupsd"
    fi

    lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p' >"$state/previous-default"

    for dir in "$(pdf_conf_dir Out '${HOME}/PDF')" \
        "$(pdf_conf_dir AnonDirName /var/spool/cups-pdf/ANONYMOUS)"; do
        echo "$dir" >>"$state/pdf-dirs"
        [ -d "$dir" ] || echo "$dir" >>"$state/created-dirs"
    done

    # lpadmin warns that printer drivers are deprecated; cups-pdf has no other way in yet.
    if ! lpadmin -p "$QUEUE" -v cups-pdf:/ -P "$PPD" -E 2>"$state/lpadmin.err" ||
        ! lpadmin -d "$QUEUE"; then
        cat "$state/lpadmin.err" >&2
        say "could not add the $QUEUE queue"
        exit 1
    fi
    say "$QUEUE added and made the default destination"
    echo "$QUEUE" >"$state/queue"
}

stop() {
    [ -d "$state" ] || exit 0
    [ -e "$state/skip-reason" ] && exit 0
    status=0
    if scheduler_running; then
        cancel -a "$QUEUE" 2>/dev/null
        lpadmin -x "$QUEUE" 2>/dev/null
        previous=$(cat "$state/previous-default" 2>/dev/null)
        if [ -n "$previous" ]; then
            lpadmin -d "$previous" || status=1
        fi
        say "$QUEUE removed${previous:+, default back to $previous}"
    fi
    if [ "$(cat "$state/started-cupsd" 2>/dev/null)" = yes ]; then
        pid=$(cat /run/cups/cupsd.pid 2>/dev/null)
        if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
            i=0
            while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do
                sleep 0.1
                i=$((i + 1))
            done
            say "stopped cupsd"
        fi
    fi
    if [ -e "$state/created-dirs" ]; then
        while read -r dir; do
            rmdir "$dir" 2>/dev/null
        done <"$state/created-dirs"
    fi
    exit $status
}

case $action in
start) start ;;
stop) stop ;;
*) usage ;;
esac
