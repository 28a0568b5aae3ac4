#!/bin/sh
# The release build end to end, in a temporary copy of the sources whose project version and
# release date are changed:
#   - `make install-user` builds only what it installs, hardened and stripped, and the
#     installed `uninstall` leaves the home folder as it was (but for the empty program folder,
#     which an uninstaller never removes);
#   - `make package` then carries the new version and date everywhere: file name, control
#     field, manual page, changelog, metainfo and the file dates inside the package;
#   - packing again after every built file has been touched gives the same bytes.
# Nothing is written into the sources or build folders this test is run from.
#
#   release_test.sh
set -u
source=$(cd "$(dirname -- "$0")/../.." && pwd)
version=9.8.7
date=2030-01-02
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
expect_same() {  # expect_same WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

base=$(mktemp -d "${TMPDIR:-/tmp}/ondrix-release.XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
copy=$base/src
mkdir "$copy" "$base/home"
tar -C "$source" --exclude='./build*' --exclude='./*.deb' --exclude=./.git -cf - . |
    tar -C "$copy" -xf - || { echo "FAILED: copying the sources"; exit 1; }
sed -i "s/^project(Ondrix VERSION [0-9.]*/project(Ondrix VERSION $version/" "$copy/CMakeLists.txt"
sed -i "s/^set(ONDRIX_RELEASE_DATE .*)/set(ONDRIX_RELEASE_DATE $date)/" \
    "$copy/packaging/linux/CMakeLists.txt"
grep -q "VERSION $version" "$copy/CMakeLists.txt" &&
    grep -q "ONDRIX_RELEASE_DATE $date" "$copy/packaging/linux/CMakeLists.txt" ||
    { echo "FAILED: cannot change the version in the copy"; exit 1; }
build=$copy/build-package

# ---- make install-user -----------------------------------------------------------------------
# The packages it would install: none of the developer tools (tests, benchmarks, fuzzing,
# package checks).
wanted=$(make -s -n -C "$copy" install-user 2>/dev/null | sed -n 's/.*for p in \([^;]*\);.*/\1/p')
[ -n "$wanted" ] || fail "make -n install-user names no packages"
for tool in clang llvm libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev lintian \
    appstream desktop-file-utils; do
    printf ' %s \n' "$wanted" | grep -q " $tool " && fail "make install-user installs $tool"
done
home=$base/home
mkdir -p "$home/Desktop" "$home/.local/share/applications"
listing() { (cd "$home" && find . | LC_ALL=C sort); }
before=$(listing)
echo "== make install-user in a copy of the sources"
if ! env -i PATH="$PATH" HOME="$home" make -C "$copy" install-user >"$base/install.log" 2>&1; then
    cat "$base/install.log"
    fail "make install-user"
fi
prefix=$home/.local/opt/Ondrix
# The programs and the icon it installs, and nothing else: no tests, no developer tools, no
# manual page.
for unwanted in tests tools/ondrix-script packaging/linux/data/ondrix.1.gz bench; do
    [ -e "$build/$unwanted" ] && fail "make install-user built $unwanted"
done
for program in ondrix uninstall; do
    file=$prefix/$program
    [ -f "$file" ] || { fail "no $file"; continue; }
    readelf -h "$file" | grep -q 'Type: *DYN' || fail "$program is not position independent"
    readelf -d "$file" | grep -q 'BIND_NOW' || fail "$program is not linked with -z now"
    readelf -lW "$file" | grep -q 'GNU_RELRO' || fail "$program has no read-only relocations"
    readelf --dyn-syms -W "$file" | grep -q '__stack_chk_fail' ||
        fail "$program has no stack protector"
    sections=$(readelf -SW "$file")
    for section in .symtab .comment .debug_info; do
        printf '%s\n' "$sections" | grep -qF " $section " && fail "$program keeps $section"
    done
done
if [ -x "$prefix/uninstall" ]; then
    (cd "$base" && env -i PATH="$PATH" HOME="$home" "$prefix/uninstall" </dev/null >/dev/null)
fi
expect_same "what the per-user install and its uninstall leave" "$(listing)" \
    "$(printf '%s\n./.local/opt\n./.local/opt/Ondrix\n' "$before" | LC_ALL=C sort)"

# ---- make package ------------------------------------------------------------------------------
echo "== make package with version $version"
if ! make -C "$copy" package >"$base/package.log" 2>&1; then
    cat "$base/package.log"
    fail "make package"
fi
deb=$copy/ondrix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAILED: no $deb"; exit 1; }
sh "$copy/tests/install/package_test.sh" "$deb" "$version" || fail "package_test.sh on $deb"
unpacked=$base/unpacked
dpkg-deb --extract "$deb" "$unpacked"
expect_same "manual page date" \
    "$(zcat "$unpacked/usr/share/man/man1/ondrix.1.gz" | grep '^\.TH' | cut -d'"' -f2)" "$date"
expect_same "changelog date" \
    "$(zcat "$unpacked/usr/share/doc/ondrix/changelog.gz" | sed -n 's/^ -- .*>  //p')" \
    "Wed, 02 Jan 2030 00:00:00 +0000"
grep -q "<release version=\"$version\" date=\"$date\"" \
    "$unpacked/usr/share/metainfo/org.ondrix.Ondrix.metainfo.xml" ||
    fail "the metainfo release is not $version of $date"
expect_same "file dates in the package" \
    "$(TZ=UTC dpkg-deb --contents "$deb" | awk '{ print $4 }' | sort -u)" "$date"

# ---- The same bytes when packed again -----------------------------------------------------------
cp "$deb" "$base/first.deb"
sleep 1
find "$build/packaging/linux/data" "$build/plotter/qt/ondrix" -type f -exec touch {} +
(cd "$build" && cpack -G DEB >"$base/cpack.log" 2>&1) || { cat "$base/cpack.log"; fail "cpack"; }
cmp -s "$base/first.deb" "$build/$(basename "$deb")" ||
    fail "packing the same build twice gives different packages"

[ $failures -eq 0 ] && echo "release build: all checks passed"
[ $failures -eq 0 ]
