#!/bin/sh
# Checks the Debian package: lintian finds no errors, the control fields are the package's, and
# dpkg-deb lists exactly the program, its desktop integration and its documentation.
#
#   package_test.sh ondrix_<version>_<arch>.deb
set -u
deb=$1
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
[ -f "$deb" ] || { echo "FAILED: no package $deb"; exit 1; }
expect_same() {  # expect_same WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

echo "== lintian $deb"
report=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges')
[ -n "$report" ] && printf '%s\n' "$report"
if printf '%s\n' "$report" | grep -q '^E: '; then fail "lintian reports errors"; fi

field() { dpkg-deb --field "$deb" "$1"; }
expect_same "Package" "$(field Package)" "ondrix"
expect_same "Version" "$(field Version)" "3.0.3"
expect_same "Section" "$(field Section)" "math"
expect_same "Architecture" "$(field Architecture)" "$(dpkg --print-architecture)"
expect_same "Maintainer" "$(field Maintainer)" "Ondrix maintainers <maintainers@ondrix.org>"
expect_same "file name" "$(basename "$deb")" "ondrix_3.0.3_$(dpkg --print-architecture).deb"
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

[ $failures -eq 0 ] && echo "package: all checks passed"
[ $failures -eq 0 ]
