#!/bin/sh
# Installs a build into a temporary prefix (`cmake --install`) and checks what lands there: the
# exact set of files, the desktop entry and the AppStream metadata with the desktop's own
# validators, the entry's keys, and the pixel size of every PNG icon. Then `make uninstall`
# removes it again: the file system is listed before and after, for a prefix with a blank,
# quotes and a non-ASCII letter, and for one whose folders were partly there before.
#
# The install writes its manifest into the build folder, so BUILD_DIR must be a build folder
# of the test's own (the package's), never the one a developer installs from.
#
#   installed_files_test.sh BUILD_DIR
set -u
build=$(realpath -- "$1")
source=$(cd "$(dirname -- "$0")/../.." && pwd)
failures=0
check() {  # check DESCRIPTION COMMAND...
    what=$1
    shift
    if ! "$@"; then
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

base=$(mktemp -d "${TMPDIR:-/tmp}/ondrix-installed.XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
root=$base/world
mkdir "$root"
listing() { (cd "$root" && find . | LC_ALL=C sort); }
before=$(listing)
prefix=$root/"My Prefix 'q' \"dq\" Zoë"/usr
cmake --install "$build" --prefix "$prefix" >"$base/install.log" 2>&1 ||
    { cat "$base/install.log"; echo "FAILED: cmake --install"; exit 1; }

app=org.ondrix.Ondrix
share=$prefix/share
expected="bin/ondrix
share/applications/$app.desktop
share/doc/ondrix/changelog.gz
share/doc/ondrix/copyright
share/icons/hicolor/128x128/apps/$app.png
share/icons/hicolor/16x16/apps/$app.png
share/icons/hicolor/256x256/apps/$app.png
share/icons/hicolor/32x32/apps/$app.png
share/icons/hicolor/48x48/apps/$app.png
share/icons/hicolor/64x64/apps/$app.png
share/icons/hicolor/scalable/apps/$app.svg
share/man/man1/ondrix.1.gz
share/metainfo/$app.metainfo.xml"
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
check "installed files (got: $actual)" [ "$actual" = "$expected" ]

# The validators: desktop-file-validate's errors, warnings and hints all fail.
entry=$share/applications/$app.desktop
report=$(desktop-file-validate "$entry" 2>&1)
if ! desktop-file-validate "$entry" >/dev/null 2>&1 || [ -n "$report" ]; then
    echo "FAILED: desktop-file-validate: $report"
    failures=$((failures + 1))
fi
if ! report=$(appstreamcli validate --no-net --no-color "$share/metainfo/$app.metainfo.xml" 2>&1)
then
    echo "FAILED: appstreamcli validate --no-net: $report"
    failures=$((failures + 1))
fi

for line in "Name=Ondrix" "GenericName=Function Plotter" "Exec=ondrix" "Icon=$app" \
    "Categories=Education;Math;" "Type=Application" "Terminal=false"; do
    check "desktop entry line $line" grep -qxF "$line" "$entry"
done
metainfo=$share/metainfo/$app.metainfo.xml
for text in "<id>$app</id>" '<launchable type="desktop-id">'"$app"'.desktop</launchable>' \
    '<url type="bugtracker">' '<requires>' '<supports>' '<content_rating type="oars-1.1"' '<screenshot type="default">' \
    '<summary>' '<description>'; do
    check "metainfo holds $text" grep -qF "$text" "$metainfo"
done

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}
for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x$size/apps/$app.png
    check "$png is ${size}x$size" [ "$(png_size "$png")" = "${size}x$size" ]
done
# The window reports the app id as its desktop file name, so the program carries it as text.
check "the program names its desktop entry $app" grep -qaF "$app" "$prefix/bin/ondrix"
check "the SVG icon is an SVG" grep -q '<svg' "$share/icons/hicolor/scalable/apps/$app.svg"

# ---- Removing it again -------------------------------------------------------------------
uninstall_run() {
    make -s -C "$source" uninstall BUILD_DIR="$build" >"$base/uninstall.log" 2>&1
}
if ! uninstall_run; then
    echo "FAILED: make uninstall: $(cat "$base/uninstall.log")"
    failures=$((failures + 1))
fi
check "make uninstall names what it removed" grep -qF "Removed \"$prefix/bin/ondrix\"" \
    "$base/uninstall.log"
check "make uninstall removes the folders it created" grep -qF "Removed folder \"$root/My" \
    "$base/uninstall.log"
check "what make uninstall leaves (got: $(listing))" [ "$(listing)" = "$before" ]

# Folders that were there before stay, even when the install's files were all they held.
mkdir -p "$root/local/bin" "$root/local/share/applications"
before=$(listing)
cmake --install "$build" --prefix "$root/local" >"$base/install.log" 2>&1 ||
    { cat "$base/install.log"; echo "FAILED: cmake --install"; exit 1; }
uninstall_run || { echo "FAILED: make uninstall: $(cat "$base/uninstall.log")"; failures=$((failures + 1)); }
check "what make uninstall leaves of existing folders (got: $(listing))" [ "$(listing)" = "$before" ]

# A build folder that installed nothing: a clear message, an error, nothing removed.
mkdir "$root/never-installed"
before=$(listing)
check "make uninstall without a manifest fails" \
    sh -c '! make -s -C "$1" uninstall BUILD_DIR="$2" >"$3" 2>&1' sh "$source" \
    "$root/never-installed" "$base/uninstall.log"
check "make uninstall without a manifest says so" grep -q "no install manifest" "$base/uninstall.log"
check "what make uninstall without a manifest leaves" [ "$(listing)" = "$before" ]

[ $failures -eq 0 ] && echo "installed files: all checks passed"
[ $failures -eq 0 ]
