# Sourced (POSIX sh) by the package set checks: what apt would install for a list of packages on
# a machine that has nothing yet.
#   fresh_install_plan LIST WORK   writes WORK/installed.txt, the packages apt plans, sorted;
#                                  fails (with apt's words) when apt cannot resolve LIST, and
#                                  exits 77 when apt has no package lists to resolve against
fresh_install_plan() {
    if ! apt-cache show build-essential >/dev/null 2>&1; then
        echo "SKIP: apt has no package lists to resolve against"
        exit 77
    fi
    # An empty package database stands for the fresh machine.
    : >"$2/status"
    # shellcheck disable=SC2046
    if ! apt-get -s -o Dir::State::status="$2/status" -o Debug::NoLocking=1 \
            install --no-install-recommends $(cat "$1") >"$2/plan.txt" 2>&1; then
        cat "$2/plan.txt"
        return 1
    fi
    awk '$1 == "Inst" { print $2 }' "$2/plan.txt" | LC_ALL=C sort -u >"$2/installed.txt"
}
