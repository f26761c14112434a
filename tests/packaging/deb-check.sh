#!/bin/sh
# Builds the Debian package from the build tree and checks its contents and control fields.
# Usage: deb-check.sh <build dir> <expected-files.txt> <version> <lintian>
set -eu
build=$1
expected=$2
version=$3
lintian=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack -G DEB did not succeed"
fi

deb="$work/quilvane_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$work"; fail "no $(basename "$deb") was written"; }

# Everything lives under /usr, exactly the files a plain install puts in the prefix.
sed 's|^|usr/|' "$expected" >"$work/expected.txt"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | LC_ALL=C sort \
    >"$work/packaged.txt"
if ! diff -u "$work/expected.txt" "$work/packaged.txt"; then
    fail "the packaged files differ from the expected list (- expected, + packaged)"
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quilvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = science ] || fail "Section is '$(field Section)'"

depends=$(field Depends)
echo "Depends: $depends"
# Named by hand, the font; found by dpkg-shlibdeps, the libraries. Both must survive the merge.
# Debian 13 renamed two of them: the Liberation fonts 2 are fonts-liberation (fonts-liberation2
# is left empty), and libcups2 became libcups2t64 in the move to a 64-bit time_t.
. "$(dirname "$0")/../../scripts/platforms.sh"
codename=$(release_codename)
renamed="$(release_fact "$codename" fonts) $(release_fact "$codename" libcups)" ||
    fail "no dependency names known for this release ($codename)"
for package in $renamed libqt6widgets6 libqt6gui6; do
    echo "$depends" | tr ',' '\n' | sed 's/^ *//' | grep -q "^$package\\b" ||
        fail "Depends does not name $package"
done

recommends=$(field Recommends)
echo "Recommends: $recommends"
for package in qt6-translations-l10n qt6-wayland; do
    echo "$recommends" | tr ',' '\n' | sed 's/^ *//' | grep -q "^$package\\b" ||
        fail "Recommends does not name $package"
done

# A version bump needs its changelog entry.
dpkg-deb -x "$deb" "$work/root"
zcat "$work/root/usr/share/doc/quilvane/changelog.gz" >"$work/changelog"
logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$logged" = "$version" ] || fail "the changelog's latest entry is $logged, not $version"

# Info and pedantic tags may stay; errors and warnings may not.
set +e
"$lintian" --allow-root --tag-display-limit 0 --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
status=$?
set -e
cat "$work/lintian.log"
if [ "$status" -ne 0 ] || grep -q '^[EW]: ' "$work/lintian.log"; then
    fail "lintian reports errors or warnings (status $status)"
fi
echo "OK: $(basename "$deb") holds the expected files and dependencies; lintian is content"
