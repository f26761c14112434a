# Sourced (POSIX sh) by scripts/release-lane.sh: where this machine's apt gets its packages, so
# that a system made for another release comes from the same archive.
#   host_archive SUITE [APT_DIR]   prints the URI of the first enabled entry of APT_DIR (default
#                                  /etc/apt) whose suites include SUITE: deb822 files in
#                                  sources.list.d/*.sources first, then `deb` lines in
#                                  sources.list; prints nothing when none has it.

host_archive() {
    _archive_suite=$1
    _archive_dir=${2:-/etc/apt}
    _archive_found=""
    for _archive_file in "$_archive_dir"/sources.list.d/*.sources; do
        [ -r "$_archive_file" ] || continue
        _archive_found=$(awk -v want="$_archive_suite" '
            function flush() {
                if (hit && enabled && uri != "" && !done) { print uri; done = 1 }
                hit = 0; enabled = 1; uri = ""; debs = 0
            }
            BEGIN { enabled = 1 }
            /^[ \t]*#/ { next }
            /^[ \t]*$/ { flush(); next }
            { key = tolower($1) }
            key == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") debs = 1; if (!debs) enabled = 0 }
            key == "uris:" { uri = $2 }
            key == "suites:" { for (i = 2; i <= NF; i++) if ($i == want) hit = 1 }
            key == "enabled:" && tolower($2) == "no" { enabled = 0 }
            END { flush() }
        ' "$_archive_file")
        [ -n "$_archive_found" ] && break
    done
    if [ -z "$_archive_found" ] && [ -r "$_archive_dir/sources.list" ]; then
        # deb [options] URI SUITE COMPONENTS...
        _archive_found=$(awk -v want="$_archive_suite" '
            $1 != "deb" { next }
            { i = 2; if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ } }
            $(i + 1) == want { print $i; exit }
        ' "$_archive_dir/sources.list")
    fi
    [ -n "$_archive_found" ] && echo "${_archive_found%/}"
    return 0
}
