#!/bin/sh
# Sets up and takes down the print server the print tests use: a private cupsd of their own,
# reached on a Unix socket, whose default printer is a cups-pdf queue writing into STATE_DIR.
# The machine's own scheduler, its queues and defaults, and the user's lpoptions are neither
# used nor changed.
#
#   cups-fixture.sh start STATE_DIR SOCKET   cupsd started, listening on SOCKET, queue added
#   cups-fixture.sh stop STATE_DIR           cupsd stopped, everything it made removed
#
# cups-pdf's backend runs as root, so only root can run it. Anyone else gets
# STATE_DIR/skip-reason, which the tests read to report themselves skipped.
set -u

QUEUE=quilvane_test_pdf
# Its policy lets a job be created but none of its documents sent.
REFUSING_QUEUE=quilvane_test_refusing
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

usage() {
    echo "usage: $0 start STATE_DIR SOCKET | stop STATE_DIR" >&2
    exit 2
}

[ $# -ge 2 ] || usage
action=$1
state=$2

say() { echo "cups-fixture: $*"; }

# The scheduler, as the tests see it.
ours() { CUPS_SERVER=$(cat "$state/socket") CUPS_SERVERROOT="$state/client" "$@"; }

scheduler_running() { ours lpstat -r 2>/dev/null | grep -q "is running"; }

wait_for_scheduler() {
    i=0
    while [ $i -lt 100 ]; do
        scheduler_running && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

write_server_config() {
    root=$1
    socket=$2
    mkdir -p "$root/etc/ppd" "$root/spool/tmp" "$root/cache" "$root/run" "$root/log" || return 1
    chmod 755 "$root"
    cat >"$root/etc/cups-files.conf" <<EOF
ServerRoot $root/etc
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/run
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
FileDevice No
SystemGroup root
EOF
    # Only the socket, in a folder only root may enter: no network, no browsing, no web pages.
    # A connection from this machine passes any Allow and Deny: the queue that refuses documents
    # does it by asking for a user nobody is.
    cat >"$root/etc/cupsd.conf" <<EOF
LogLevel info
Listen $socket
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultShared No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
<Policy no-documents>
  <Limit Send-Document Send-URI>
    AuthType Default
    Require user quilvane-nobody
    Order deny,allow
  </Limit>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
}

# cups-pdf looks for its settings in /etc/cups only: a queue whose device is cups-pdf:/NAME
# reads /etc/cups/cups-pdf-NAME.conf, the one file this writes in the machine's folders. NAME
# is unique to STATE_DIR, and the file goes again at stop.
write_pdf_config() {
    conf=$1
    cat >"$conf" <<EOF
Out $state/pdf
AnonDirName $state/pdf
Spool $state/cups-pdf-spool
GSTmp $state/cups-pdf-spool
Log $server/log
Grp root
EOF
}

start() {
    socket=$1
    take_down
    rm -rf "$state"
    mkdir -p "$state" || exit 1
    if [ "$(id -u)" -ne 0 ]; then
        echo "cups-pdf's backend, and so the test print server, need root" >"$state/skip-reason"
        say "not root: the print tests will be skipped"
        exit 0
    fi
    for tool in cupsd lpadmin lpstat cupsenable cupsaccept pdfinfo pdftoppm setpriv; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            say "$tool is missing (scripts/install-deps.sh installs it)"
            exit 1
        fi
    done
    if [ ! -x /usr/lib/cups/backend/cups-pdf ] || [ ! -r "$PPD" ]; then
        say "the cups-pdf printer driver is missing (printer-driver-cups-pdf)"
        exit 1
    fi

    # Clients read no lpoptions or client.conf but those in these two, both empty.
    mkdir -p "$state/home" "$state/client" "$state/pdf" "$state/cups-pdf-spool" || exit 1
    # The server's filters run as lp and write their temporary files in its spool: where lp
    # cannot reach STATE_DIR (under a home folder, say), the server gets a folder in /tmp.
    chmod 755 "$state"
    server=$state/server
    if ! setpriv --reuid=lp --regid=lp --clear-groups test -x "$state" 2>/dev/null; then
        server=$(mktemp -d /tmp/quilvane-cups.XXXXXX) || exit 1
    fi
    echo "$server" >"$state/server-dir"
    socket_dir=$(dirname "$socket")
    mkdir -p "$socket_dir" && chmod 700 "$socket_dir" || exit 1
    rm -f "$socket"
    echo "$socket" >"$state/socket"
    [ "$socket_dir" = "$state/run" ] || echo "$socket_dir" >"$state/socket-dir"
    write_server_config "$server" "$socket" || exit 1

    name=quilvane-$(printf '%s' "$state" | md5sum | cut -c1-12)
    echo "cups-pdf:/$name" >"$state/device-uri"
    echo "/etc/cups/cups-pdf-$name.conf" >"$state/pdf-config"
    write_pdf_config "/etc/cups/cups-pdf-$name.conf" || exit 1
    echo "$state/pdf" >"$state/pdf-dirs"

    # In the foreground of a session of its own, its output in a file: ctest waits for no pipe.
    setsid cupsd -f -c "$server/etc/cupsd.conf" -s "$server/etc/cups-files.conf" \
        </dev/null >"$server/log/cupsd.out" 2>&1 &
    echo $! >"$state/pid"
    if ! wait_for_scheduler; then
        cat "$server/log/cupsd.out" "$server/log/error_log" 2>/dev/null >&2
        say "the test print server did not start"
        exit 1
    fi

    # lpadmin warns that printer drivers are deprecated; cups-pdf has no other way in yet.
    device=$(cat "$state/device-uri")
    if ! ours lpadmin -p "$QUEUE" -v "$device" -P "$PPD" -E 2>"$state/lpadmin.err" ||
        ! ours lpadmin -p "$REFUSING_QUEUE" -v "$device" -P "$PPD" -E \
            -o printer-op-policy=no-documents 2>>"$state/lpadmin.err" ||
        ! ours lpadmin -d "$QUEUE"; then
        cat "$state/lpadmin.err" >&2
        say "could not add the test queues"
        exit 1
    fi
    echo "$QUEUE" >"$state/queue"
    echo "$REFUSING_QUEUE" >"$state/refusing-queue"
    say "private print server on $socket, $QUEUE its default"
}

stop_server() {
    pid=$(cat "$state/pid" 2>/dev/null)
    [ -n "$pid" ] || return 0
    # Only if it is still our cupsd: the pid may since have gone to something else.
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = cupsd ] && kill "$pid" 2>/dev/null; then
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do
            sleep 0.1
            i=$((i + 1))
        done
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
        say "stopped the test print server"
    fi
    rm -f "$state/pid"
}

# Everything a start made, also that of a run that was cut short.
take_down() {
    [ -d "$state" ] || return 0
    [ -e "$state/skip-reason" ] && return 0
    stop_server
    server=$(cat "$state/server-dir" 2>/dev/null)
    case $server in
    /tmp/quilvane-cups.*)
        cp -R "$server/log" "$state/server-log" 2>/dev/null
        rm -rf "$server"
        ;;
    esac
    conf=$(cat "$state/pdf-config" 2>/dev/null)
    [ -n "$conf" ] && rm -f "$conf"
    socket_dir=$(cat "$state/socket-dir" 2>/dev/null)
    [ -n "$socket_dir" ] && rm -rf "$socket_dir"
    return 0
}

stop() {
    take_down
    exit 0
}

case $action in
start)
    [ $# -eq 3 ] || usage
    start "$3"
    ;;
stop) stop ;;
*) usage ;;
esac
