#!/bin/sh
# The per-user install and its uninstaller, end to end, in temporary home folders: what the
# install places, the log it writes, the desktop entries (checked with desktop-file-validate),
# that the installed `uninstall`, run with its input at end of file, leaves only the empty
# program folder, reinstalling, and installs that fail.
#
#   install_user_test.sh INSTALL_SCRIPT PROGRAM UNINSTALLER ICON SHELL_FOLDER_TOOL
set -u
[ $# -eq 5 ] || { echo "usage: install_user_test.sh SCRIPT PROGRAM UNINSTALLER ICON TOOL"; exit 2; }
# Each case runs from a current folder of its own, so the given paths are made absolute.
script=$(realpath -- "$1") program=$(realpath -- "$2") uninstaller=$(realpath -- "$3")
icon=$(realpath -- "$4") tool=$(realpath -- "$5")
for need in desktop-file-validate gio; do
    command -v $need >/dev/null || { echo "SKIP: $need is missing"; exit 77; }
done

failures=0
fail() {
    echo "FAILED ($case_name): $*"
    failures=$((failures + 1))
}
expect_file() { [ -f "$1" ] || fail "missing $1"; }
expect_same() {  # expect_same WHAT ACTUAL EXPECTED
    [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

base=$(mktemp -d "${TMPDIR:-/tmp}/ondrix-user.XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT

# A fresh world for one case: a home with the usual desktop and applications folders.
new_world() {
    case_name=$1
    root=$base/$1
    home=$root/home
    mkdir -p "$home/Desktop" "$home/.local/share/applications" "$root/cwd"
}
tree() { (cd "$root" && find . | LC_ALL=C sort); }
# A tree listing with the empty default program folder added.
with_program_folder() {
    printf '%s\n./home/.local/opt\n./home/.local/opt/Ondrix\n' "$1" | LC_ALL=C sort
}

# install [ENV...] -- [ARGS...]: runs the install script with a clean environment.
install_run() {
    envs=""
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        envs="$envs $1"
        shift
    done
    [ $# -gt 0 ] && shift
    # shellcheck disable=SC2086
    (cd "$root/cwd" && env -i PATH="$PATH" $envs sh "$script" --program "$program" \
        --uninstaller "$uninstaller" --icon "$icon" --shell-folder-tool "$tool" "$@" \
        >"$root.out" 2>"$root.err")
}

# The installed uninstaller, its input at end of file; its output must be the success line.
uninstall_run() {  # uninstall_run PROGRAM_FOLDER ENV...
    folder=$1
    shift
    out=$(cd "$root/cwd" && env -i PATH="$PATH" "$@" "$folder/uninstall" </dev/null | od -An -c |
        tr -s ' \n' '  ')
    expect_same "uninstall output" "$out" " U n i n s t a l l s u c c e s s f u l \\r \\n "
}

validate() {
    # Errors, warnings and hints alike: a clean entry gives no output.
    if ! report=$(desktop-file-validate "$1" 2>&1) || [ -n "$report" ]; then
        fail "desktop-file-validate $1: $report"
    fi
}

expect_installed() {  # expect_installed PROGRAM_FOLDER DESKTOP APPLICATIONS
    for f in ondrix ondrix.png uninstall install.txt; do expect_file "$1/$f"; done
    cmp -s "$program" "$1/ondrix" || fail "ondrix is not a copy of the program"
    cmp -s "$uninstaller" "$1/uninstall" || fail "uninstall is not a copy of the uninstaller"
    cmp -s "$icon" "$1/ondrix.png" || fail "ondrix.png is not a copy of the icon"
    [ -x "$1/ondrix" ] && [ -x "$1/uninstall" ] || fail "the programs are not executable"
    expect_same "install.txt" "$(od -An -c "$1/install.txt" | tr -s ' \n' '  ')" \
        " o n d r i x \\r \\n o n d r i x . p n g \\r \\n i n s t a l l . t x t \\r \\n u n i n s t a l l \\r \\n "
    # The menu lists every entry below the applications folder, subfolders included: the
    # launcher sits beside the group, which holds only the uninstall entry.
    expect_same "entries in the program group" "$(ls -A "$3/Ondrix")" "Uninstall Ondrix.desktop"
    for entry in "$2/Ondrix.desktop" "$3/Ondrix/Uninstall Ondrix.desktop" "$3/Ondrix.desktop"; do
        expect_file "$entry"
        validate "$entry"
        # One main category, or the menu shows the entry under each of them.
        main=$(sed -n 's/^Categories=//p' "$entry" | tr ';' '\n' | grep -cxE \
            'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
        expect_same "main categories of $entry" "$main" 1
    done
    [ -x "$2/Ondrix.desktop" ] || fail "the desktop shortcut is not marked as a trusted launcher"
    for entry in "$2/Ondrix.desktop" "$3/Ondrix.desktop"; do
        grep -qx "Name=Ondrix" "$entry" || fail "$entry: Name is not Ondrix"
        grep -qx "Terminal=false" "$entry" || fail "$entry: not a windowed program"
    done
    grep -qx "Name=Uninstall Ondrix" "$3/Ondrix/Uninstall Ondrix.desktop" ||
        fail "the uninstall entry is not named Uninstall Ondrix"
    grep -qx "Terminal=true" "$3/Ondrix/Uninstall Ondrix.desktop" ||
        fail "the uninstall entry does not run in a terminal"
}

# Starts a desktop entry the way the desktop does (GLib) and waits for the stand-in program
# to leave its mark.
launch() {  # launch ENTRY
    rm -f "$base/launched"
    gio launch "$1" >"$root.launch" 2>&1 || fail "gio launch $1: $(cat "$root.launch")"
    tries=0
    while [ ! -f "$base/launched" ] && [ $tries -lt 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    [ -f "$base/launched" ] || fail "gio launch $1 did not start the program"
}

# ---- A default install and its removal -------------------------------------------------------
# The desktop folder comes from user-dirs.dirs, as the uninstaller reads it.
new_world default
mkdir -p "$home/.config" "$home/Schreibtisch"
printf 'XDG_DESKTOP_DIR="$HOME/Schreibtisch"\n' >"$home/.config/user-dirs.dirs"
before=$(tree)
install_run HOME="$home" || fail "install failed: $(cat "$root.err")"
prefix=$home/.local/opt/Ondrix
expect_installed "$prefix" "$home/Schreibtisch" "$home/.local/share/applications"
[ -e "$home/Desktop/Ondrix.desktop" ] && fail "the shortcut went to the default desktop folder"
expect_same "uninstall entry Exec" \
    "$(grep '^Exec=' "$home/.local/share/applications/Ondrix/Uninstall Ondrix.desktop")" \
    "Exec=\"$prefix/uninstall\""
expect_same "shortcut Exec" "$(grep '^Exec=' "$home/Schreibtisch/Ondrix.desktop")" \
    "Exec=\"$prefix/ondrix\""
expect_same "shortcut Icon" "$(grep '^Icon=' "$home/Schreibtisch/Ondrix.desktop")" \
    "Icon=$prefix/ondrix.png"
uninstall_run "$prefix" HOME="$home"
expect_same "what the uninstall leaves" "$(tree)" "$(with_program_folder "$before")"

# ---- A folder of the user's choice, with characters a desktop entry must escape --------------
# The program is a stand-in that leaves a mark, so that the entries are launched, not only
# validated.
new_world escaping
odd='My Apps/"Q" $X\Y Zoë'
stand_in=$base/stand-in
printf '#!/bin/sh\n: >"%s/launched"\n' "$base" >"$stand_in"
chmod +x "$stand_in"
real_program=$program program=$stand_in
install_run HOME="$home" XDG_DATA_HOME="$root/data" -- --prefix "../$odd/" ||
    fail "install failed: $(cat "$root.err")"
prefix=$root/$odd
expect_installed "$prefix" "$home/Desktop" "$root/data/applications"
program=$real_program
expect_same "escaped Exec" "$(grep '^Exec=' "$root/data/applications/Ondrix.desktop")" \
    "Exec=\"$root/My Apps/\\\\\"Q\\\\\" \\\\\$X\\\\\\\\Y Zoë/ondrix\""
expect_same "escaped Icon" "$(grep '^Icon=' "$root/data/applications/Ondrix.desktop")" \
    "Icon=$root/My Apps/\"Q\" \$X\\\\Y Zoë/ondrix.png"
launch "$root/data/applications/Ondrix.desktop"
launch "$home/Desktop/Ondrix.desktop"
before_removal_files=$(cd "$root" && find . -type f | LC_ALL=C sort)
uninstall_run "$prefix" HOME="$home" XDG_DATA_HOME="$root/data"
expect_same "files the uninstall leaves" "$(cd "$root" && find . -type f)" ""
[ -d "$prefix" ] && [ -z "$(ls -A "$prefix")" ] || fail "the program folder is not left empty"
[ -n "$before_removal_files" ] || fail "nothing was installed"

# ---- A second program folder: the first one's shortcuts are not taken over -----------------
new_world second_folder
install_run HOME="$home" || fail "first install failed: $(cat "$root.err")"
before=$(tree)
if install_run HOME="$home" -- --prefix "$root/second"; then fail "the install succeeded"; fi
grep -q -e "--force" "$root.err" || fail "the refusal does not name --force: $(cat "$root.err")"
expect_same "what the refused install leaves" "$(tree)" "$before"
install_run HOME="$home" -- --prefix "$root/second" --force ||
    fail "install with --force failed: $(cat "$root.err")"
expect_installed "$root/second" "$home/Desktop" "$home/.local/share/applications"
expect_same "shortcut after --force" "$(grep '^Exec=' "$home/Desktop/Ondrix.desktop")" \
    "Exec=\"$root/second/ondrix\""
uninstall_run "$root/second" HOME="$home"

# ---- Installing over an install ---------------------------------------------------------------
new_world reinstall
before=$(tree)
install_run HOME="$home" || fail "first install failed: $(cat "$root.err")"
prefix=$home/.local/opt/Ondrix
echo stale >"$prefix/ondrix"
printf 'extra.txt\r\n' >>"$prefix/install.txt"
# An earlier install also kept the launcher in the group; reinstalling removes it.
cp "$home/.local/share/applications/Ondrix.desktop" "$home/.local/share/applications/Ondrix/"
install_run HOME="$home" || fail "second install failed: $(cat "$root.err")"
expect_installed "$prefix" "$home/Desktop" "$home/.local/share/applications"
expect_same "files after the reinstall" "$(cd "$prefix" && ls -A | LC_ALL=C sort | tr '\n' ' ')" \
    "install.txt ondrix ondrix.png uninstall "
uninstall_run "$prefix" HOME="$home"
expect_same "what the uninstall leaves" "$(tree)" "$(with_program_folder "$before")"

# ---- Installs that fail ------------------------------------------------------------------------
# Half way: a file where the program group folder belongs. Everything placed before is removed.
new_world halfway
: >"$home/.local/share/applications/Ondrix"
before=$(tree)
if install_run HOME="$home"; then fail "the install succeeded"; fi
grep -q "Install failed" "$root.err" || fail "no failure message: $(cat "$root.err")"
grep -q "Removed what this install had placed" "$root.err" ||
    fail "does not say that it removed what it placed: $(cat "$root.err")"
expect_same "what a failed install leaves" "$(tree)" "$before"

# Half way in an install over an existing one: the new files are removed, the user's are not.
new_world halfway_reinstall
install_run HOME="$home" || fail "first install failed: $(cat "$root.err")"
rm -r "$home/.local/share/applications/Ondrix"
: >"$home/.local/share/applications/Ondrix"
echo mine >"$home/.local/opt/Ondrix/notes.txt"
if install_run HOME="$home"; then fail "the install succeeded"; fi
expect_same "left in the program folder" "$(ls -A "$home/.local/opt/Ondrix")" "notes.txt"
[ -e "$home/Desktop/Ondrix.desktop" ] && fail "the desktop shortcut stayed"

# Refused, or failing at the first program: nothing is left behind.
for bad in "no HOME" "relative HOME" "missing program" "program folder is a file" "bad option" \
    "percent sign" "program strip fails"; do
    new_world "$(printf '%s' "$bad" | tr ' ' _)"
    : >"$root/taken"
    before=$(tree)
    case $bad in
        "no HOME") install_run ;;
        "relative HOME") install_run HOME=home ;;
        "missing program") program_saved=$program program=$root/none
            install_run HOME="$home"
            status=$?
            program=$program_saved
            (exit $status) ;;
        "program folder is a file") install_run HOME="$home" -- --prefix "$root/taken" ;;
        "bad option") install_run HOME="$home" -- --prefx "$root/x" ;;
        "percent sign") install_run HOME="$home" -- --prefix "$root/100%" ;;
        "program strip fails") program_saved=$program program=$root/taken
            install_run HOME="$home" -- --strip
            status=$?
            program=$program_saved
            (exit $status) ;;
    esac && fail "the install succeeded"
    [ -s "$root.err" ] || fail "no message"
    expect_same "what a refused install leaves" "$(tree)" \
        "$before"
done

# ---- The shell-folder tool the install asks -----------------------------------------------------
case_name=shell-folder-tool
while IFS='|' read -r env_list name want_status want_out; do
    # shellcheck disable=SC2086
    got_out=$(env -i $env_list "$tool" $name 2>/dev/null)
    got_status=$?
    expect_same "ondrix-shell-folder $name with [$env_list]" "$got_status $got_out" \
        "$want_status $want_out"
done <<'TABLE'
HOME=/h|Desktop|0|/h/Desktop
HOME=/h XDG_DATA_HOME=/d|Programs|0|/d/applications
HOME=/h XDG_DATA_HOME=d|Programs|0|/h/.local/share/applications
|Desktop|1|
HOME=relative|Programs|1|
HOME=/h|Music|2|
HOME=/h||2|
TABLE

[ $failures -eq 0 ] && echo "install-user: all checks passed"
[ $failures -eq 0 ]
