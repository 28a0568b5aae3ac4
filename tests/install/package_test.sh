#!/bin/sh
# Checks the Debian package: lintian (pedantic, with info and experimental tags) finds nothing,
# the control fields are the package's, dpkg-deb lists exactly the program, its desktop
# integration and its documentation, the program is stripped as Debian strips it, and the
# manual page, changelog and metainfo carry the package's version.
#
#   package_test.sh ondrix_<version>_<arch>.deb VERSION
set -u
[ $# -eq 2 ] || { echo "usage: package_test.sh DEB VERSION"; exit 2; }
deb=$1 version=$2
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
[ -f "$deb" ] || { echo "FAILED: no package $deb"; exit 1; }
expect_same() {  # expect_same WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

echo "== lintian --pedantic -I -E $deb"
report=$(lintian --pedantic -I -E --tag-display-limit 0 "$deb" 2>&1 |
    grep -v 'running with root privileges')
[ -z "$report" ] || fail "lintian reports: $report"

field() { dpkg-deb --field "$deb" "$1"; }
expect_same "Package" "$(field Package)" "ondrix"
expect_same "Version" "$(field Version)" "$version"
expect_same "Section" "$(field Section)" "math"
expect_same "Architecture" "$(field Architecture)" "$(dpkg --print-architecture)"
expect_same "Maintainer" "$(field Maintainer)" "Ondrix maintainers <maintainers@ondrix.org>"
expect_same "file name" "$(basename "$deb")" "ondrix_${version}_$(dpkg --print-architecture).deb"
expect_same "synopsis" "$(field Description | head -n 1)" "desktop function plotter"
[ "$(field Description | wc -l)" -ge 3 ] || fail "the description has no extended part"
# Libraries found by dpkg-shlibdeps, and the Qt plugins the program loads at run time.
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins \
    libqt6svg6; do
    field Depends | tr ',' '\n' | grep -q "^ *$dependency\( \|$\)" ||
        fail "Depends lacks $dependency: $(field Depends)"
done

app=org.ondrix.Ondrix
expected="./usr/bin/ondrix
./usr/share/applications/$app.desktop
./usr/share/doc/ondrix/changelog.gz
./usr/share/doc/ondrix/copyright
./usr/share/icons/hicolor/128x128/apps/$app.png
./usr/share/icons/hicolor/16x16/apps/$app.png
./usr/share/icons/hicolor/256x256/apps/$app.png
./usr/share/icons/hicolor/32x32/apps/$app.png
./usr/share/icons/hicolor/48x48/apps/$app.png
./usr/share/icons/hicolor/64x64/apps/$app.png
./usr/share/icons/hicolor/scalable/apps/$app.svg
./usr/share/man/man1/ondrix.1.gz
./usr/share/metainfo/$app.metainfo.xml"
actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
expect_same "files in the package" "$actual" "$expected"
expect_same "mode of usr/bin/ondrix" \
    "$(dpkg-deb --contents "$deb" | awk '$6 == "./usr/bin/ondrix" { print $1, $2 }')" \
    "-rwxr-xr-x root/root"

# ---- Inside the package ------------------------------------------------------------------
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/ondrix-deb.XXXXXX") || exit 1
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked" || fail "dpkg-deb --extract"
sections=$(readelf -SW "$unpacked/usr/bin/ondrix" | awk '$1 == "[" { print $3 } $1 ~ /^\[/ && $1 != "[" { print $2 }')
for section in .comment .symtab .note; do
    printf '%s\n' "$sections" | grep -qx -- "$section" && fail "the program keeps its $section section"
done
share=$unpacked/usr/share
man=$(zcat "$share/man/man1/ondrix.1.gz")
expect_same "manual page header" "$(printf '%s\n' "$man" | grep '^\.TH' | cut -d'"' -f4)" \
    "Ondrix $version"
# SEE ALSO names only what a user of the package can reach.
printf '%s\n' "$man" | sed -n '/^\.SH SEE ALSO/,/^\.SH [^S]/p' | grep -qi readme &&
    fail "the manual page refers to a README the package does not ship"
expect_same "changelog" "$(zcat "$share/doc/ondrix/changelog.gz" | head -n 1)" \
    "ondrix ($version) unstable; urgency=medium"
grep -q "<release version=\"$version\"" "$share/metainfo/org.ondrix.Ondrix.metainfo.xml" ||
    fail "the metainfo has no release $version"

[ $failures -eq 0 ] && echo "package: all checks passed"
[ $failures -eq 0 ]
