#!/bin/sh
# Removes what `cmake --install` placed from a build folder (`make uninstall` runs it):
#   - each file that CMake listed in the build folder's install_manifest.txt, read line by
#     line, so that blanks, quotes and any other letter in a path are taken as they stand;
#   - then each folder that those installs created (install_folders.txt beside the manifest)
#     and that is empty now, the deepest first. A folder that was there before the install
#     stays, and so does a folder that still holds anything.
# Every removal is reported. With DESTDIR set, the paths are taken inside that folder, as
# `cmake --install` placed them there. Exit code 0 when everything listed is gone, 1 when a
# file could not be removed or the manifest cannot be read.
#
#   cmake-uninstall.sh BUILD_FOLDER
set -u

say() { printf '%s\n' "$*"; }
[ $# -eq 1 ] || { say "usage: cmake-uninstall.sh BUILD_FOLDER" >&2; exit 2; }
manifest=$1/install_manifest.txt
folders=$1/install_folders.txt
destdir=${DESTDIR:-}

if [ ! -f "$manifest" ] || [ ! -r "$manifest" ]; then
    say "Nothing to remove: no install manifest \"$manifest\" (run cmake --install first)." >&2
    exit 1
fi

removed=0 gone=0 failed=0
# The manifest's last line has no line end; `|| [ -n ]` keeps it.
while IFS= read -r path || [ -n "$path" ]; do
    [ -n "$path" ] || continue
    target=$destdir$path
    if [ -d "$target" ] && [ ! -L "$target" ]; then
        say "Left \"$target\": it is a folder now, not the file that was installed." >&2
        failed=$((failed + 1))
    elif [ -e "$target" ] || [ -L "$target" ]; then
        if rm -f -- "$target" 2>/dev/null && [ ! -e "$target" ] && [ ! -L "$target" ]; then
            say "Removed \"$target\""
            removed=$((removed + 1))
        else
            say "Cannot remove \"$target\" (permission denied? run as the user who installed)." >&2
            failed=$((failed + 1))
        fi
    else
        gone=$((gone + 1))
    fi
done <"$manifest"

# The loop's output is the list of folders kept; its messages go to the saved standard output.
exec 3>&1
if [ -z "$destdir" ] && [ -f "$folders" ]; then
    # Deepest first: a folder's path is longer than its parent's.
    kept=$(awk '{ print length($0) "\t" $0 }' "$folders" | sort -rn | cut -f 2- |
        while IFS= read -r folder; do
            [ -n "$folder" ] || continue
            if [ -d "$folder" ] && [ ! -L "$folder" ]; then
                if rmdir -- "$folder" 2>/dev/null; then
                    say "Removed folder \"$folder\"" >&3
                else
                    printf '%s\n' "$folder"
                fi
            fi
        done)
    # Folders still in use are noted again for a later removal; the others are done with.
    if [ -n "$kept" ]; then
        printf '%s\n' "$kept" | sort -u >"$folders"
    else
        rm -f -- "$folders"
    fi
fi

say "Removed $removed of the files listed in $manifest; $gone were already gone."
[ $failed -eq 0 ] || { say "$failed listed files are still there." >&2; exit 1; }
