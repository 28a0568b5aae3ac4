#!/usr/bin/env bash
# Times the uninstaller's removal of a program group of many files against `rm -rf` on the
# same tree, alternating the two for ROUNDS rounds, and prints each time and the medians.
#   bench/uninstall/remove_group.sh BUILD_DIR [FILES] [ROUNDS]
# The tree: FILES files of one byte in folders of 1000 files each, below
# $SCRATCH/data/applications/Ondrix; the uninstaller runs with an empty log, so the group
# removal is nearly all it does.
set -euo pipefail

BUILD=$(cd "$1" && pwd)
FILES=${2:-100000}
ROUNDS=${3:-3}
PER_FOLDER=1000
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/ondrix-bench-XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT

mkdir -p "$SCRATCH/app"
cp "$BUILD/uninstall/uninstall" "$SCRATCH/app/uninstall"
: >"$SCRATCH/app/install.txt"

make_tree() {
    local group=$SCRATCH/data/applications/Ondrix folders=$(((FILES + PER_FOLDER - 1) / PER_FOLDER))
    local d
    for ((d = 0; d < folders; d++)); do
        mkdir -p "$group/d$d"
        (cd "$group/d$d" && printf '%s\n' $(seq -f "f%g" 1 $PER_FOLDER) | xargs touch)
    done
    sync
}

seconds() {  # command...
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

uninstall_times=()
rm_times=()
for ((r = 1; r <= ROUNDS; r++)); do
    make_tree
    uninstall_times+=("$(seconds env -i HOME="$SCRATCH/home" XDG_DATA_HOME="$SCRATCH/data" \
        "$SCRATCH/app/uninstall" </dev/null)")
    [ ! -e "$SCRATCH/data/applications/Ondrix" ] || { echo "group not removed" >&2; exit 1; }
    make_tree
    rm_times+=("$(seconds rm -rf "$SCRATCH/data/applications/Ondrix")")
    echo "round $r: uninstall ${uninstall_times[-1]} s, rm -rf ${rm_times[-1]} s"
done
echo "median of $ROUNDS, $FILES files: uninstall $(printf '%s\n' "${uninstall_times[@]}" | median) s," \
    "rm -rf $(printf '%s\n' "${rm_times[@]}" | median) s"
