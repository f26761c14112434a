#!/bin/sh
# The release lane makes its system from the archive this machine's apt uses: the URI of the
# enabled binary entry that serves the suite asked for, in deb822 or one-line sources.
# Usage: host-archive-check.sh <scripts dir>
set -eu
. "$1/host-archive.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() {
    got=$(host_archive "$1" "$work/apt")
    [ "$got" = "$2" ] || { echo "FAIL: $3: '$got', not '$2'"; failed=1; }
}

mkdir -p "$work/apt/sources.list.d"
cat >"$work/apt/sources.list.d/debian.sources" <<'EOF'
# A switched-off mirror and the sources, neither to be used.
Types: deb
URIs: http://old.invalid/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb-src
URIs: http://src.invalid/debian
Suites: bookworm
Components: main

Types: deb
URIs: http://main.invalid/debian/
Suites: bookworm bookworm-updates
Components: main

types: deb
uris: http://security.invalid/debian-security
suites: bookworm-security
components: main
EOF
check bookworm http://main.invalid/debian "the main suite"
check bookworm-updates http://main.invalid/debian "a second suite of an entry"
check bookworm-security http://security.invalid/debian-security "lower-case fields"
check bookworm-backports "" "a suite no entry serves"

rm "$work/apt/sources.list.d/debian.sources"
cat >"$work/apt/sources.list" <<'EOF'
deb-src http://src.invalid/debian trixie main
#deb http://old.invalid/debian trixie main
deb [arch=amd64 signed-by=/k.gpg] http://main.invalid/debian trixie main contrib
deb http://main.invalid/debian-security trixie-security main
EOF
check trixie http://main.invalid/debian "a one-line entry with options"
check trixie-security http://main.invalid/debian-security "a one-line security entry"
[ $failed -eq 0 ] && echo "OK: the archive is found in deb822 and one-line sources"
exit $failed
