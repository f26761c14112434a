#!/bin/sh
# The install command asks each release for packages it has: the test set resolves on this
# machine's release as on a machine that has nothing yet; a release it does not know is named
# and refused before apt is asked anything.
# Usage: release-set-check.sh <scripts dir>
set -eu
scripts=$1
. "$(dirname "$0")/fresh-install-plan.sh"

# apt and dpkg stand-ins that only note they were asked.
mkdir "$work/bin"
for tool in apt-get dpkg-query sudo; do
    printf '#!/bin/sh\necho %s >>"%s/asked"\nexit 1\n' "$tool" "$work" >"$work/bin/$tool"
    chmod +x "$work/bin/$tool"
done
echo 'VERSION_CODENAME=sarge' >"$work/os-release"
status=0
PATH="$work/bin:$PATH" QUILVANE_OS_RELEASE="$work/os-release" "$scripts/install-deps.sh" --test \
    >"$work/unknown.txt" 2>&1 || status=$?
cat "$work/unknown.txt"
[ "$status" -ne 0 ] || fail "an unknown release was accepted"
grep -q sarge "$work/unknown.txt" && grep -q bookworm "$work/unknown.txt" &&
    grep -q trixie "$work/unknown.txt" || fail "the refusal does not name the release and the known ones"
[ ! -e "$work/asked" ] || fail "apt was asked for an unknown release:" $(cat "$work/asked")

"$scripts/install-deps.sh" --list --test | LC_ALL=C sort >"$work/test.txt"
grep -qx debootstrap "$work/test.txt" || fail "the test set lacks debootstrap (the release lane)"
fresh_install_plan "$work/test.txt" || fail "apt cannot install the test set on this release"
echo "OK: this release has all $(wc -l <"$work/test.txt") packages of the test set"
