# Sourced (POSIX sh) by the package set checks: what apt would install for a list of packages on
# a machine that has nothing yet.
#   fresh_install_plan LIST   writes $work/installed.txt, the packages apt plans, sorted; fails
#                             (with apt's words) when apt cannot resolve LIST or plans to leave
#                             part of it out, and exits 77 when apt has no package lists
# Sourcing it also makes $work, a temporary folder removed on exit, and fail MESSAGE...
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

fresh_install_plan() {
    if ! apt-cache show build-essential >/dev/null 2>&1; then
        echo "SKIP: apt has no package lists to resolve against"
        exit 77
    fi
    # An empty package database stands for the fresh machine.
    : >"$work/status"
    # shellcheck disable=SC2046
    if ! apt-get -s -o Dir::State::status="$work/status" -o Debug::NoLocking=1 \
            install --no-install-recommends $(cat "$1") >"$work/plan.txt" 2>&1; then
        cat "$work/plan.txt"
        return 1
    fi
    awk '$1 == "Inst" { print $2 }' "$work/plan.txt" | LC_ALL=C sort -u >"$work/installed.txt"
    # A plan that misses part of the list was not made from scratch and proves nothing.
    _missing=$(LC_ALL=C comm -23 "$1" "$work/installed.txt")
    [ -z "$_missing" ] || { echo "the simulated install leaves out:" $_missing; return 1; }
}
