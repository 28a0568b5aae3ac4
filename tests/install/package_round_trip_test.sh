#!/bin/sh
# Installs the Debian package with apt-get and removes it again, as a user would, and checks
# that the folders the package reaches hold the same entries before and after. Needs root (or
# sudo without a password) and a machine where Ondrix is not installed from a package;
# otherwise it says why it skips and succeeds.
#
#   package_round_trip_test.sh ondrix_<version>_<arch>.deb
set -u
deb=$(realpath -- "$1")
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif sudo -n true 2>/dev/null; then
    as_root="sudo -n"
else
    echo "SKIP: installing the package needs root"
    exit 0
fi
if dpkg-query -W -f='${Status}' ondrix 2>/dev/null | grep -q installed; then
    echo "SKIP: the package ondrix is installed on this machine already"
    exit 0
fi

# The package's folders and every folder above them, listed with their entries.
folders=$(dpkg-deb --contents "$deb" | awk '{ print substr($6, 2) }' | sed 's|/$||' |
    while IFS= read -r path; do
        while [ -n "$path" ]; do
            path=${path%/*}
            printf '%s\n' "${path:-/}"
        done
    done | LC_ALL=C sort -u)
listing() {
    printf '%s\n' "$folders" | while IFS= read -r folder; do
        [ -d "$folder" ] && find "$folder" -mindepth 1 -maxdepth 1
    done | LC_ALL=C sort
}

failures=0
before=$(listing)
echo "== apt-get install $(basename "$deb"), then apt-get remove ondrix"
if ! $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" \
    >/tmp/ondrix-round-trip.$$ 2>&1; then
    cat /tmp/ondrix-round-trip.$$
    echo "FAILED: apt-get install"
    failures=$((failures + 1))
fi
command -v ondrix >/dev/null || { echo "FAILED: ondrix is not on the PATH"; failures=$((failures + 1)); }
$as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y ondrix >/tmp/ondrix-round-trip.$$ 2>&1 ||
    { cat /tmp/ondrix-round-trip.$$; echo "FAILED: apt-get remove"; failures=$((failures + 1)); }
rm -f /tmp/ondrix-round-trip.$$
after=$(listing)
if [ "$after" != "$before" ]; then
    echo "FAILED: apt-get remove leaves a different file system:"
    printf '%s\n' "$before" >/tmp/ondrix-before.$$
    printf '%s\n' "$after" | diff /tmp/ondrix-before.$$ - | grep '^[<>]'
    rm -f /tmp/ondrix-before.$$
    failures=$((failures + 1))
fi
dpkg-query -W -f='${Status}' ondrix 2>/dev/null | grep -q 'config-files\|installed' &&
    { echo "FAILED: dpkg still knows the package"; failures=$((failures + 1)); }

[ $failures -eq 0 ] && echo "package round trip: all checks passed"
[ $failures -eq 0 ]
