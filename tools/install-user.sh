#!/bin/sh
# Installs Ondrix for the current user into a program folder of its own, in the form that the
# folder's `uninstall` undoes:
#   - the program folder (default $HOME/.local/opt/Ondrix) with ondrix, uninstall, the icon
#     ondrix.png and the install log install.txt;
#   - the desktop shortcut Ondrix.desktop in the desktop folder;
#   - the program group folder Ondrix in the applications folder, holding only the entry
#     "Uninstall Ondrix";
#   - the launcher Ondrix.desktop directly in the applications folder.
# XDG menus list the entries of a subfolder of the applications folder among the others, so
# the launcher lives outside the group: the menu shows one "Ondrix" and one "Uninstall Ondrix".
# The desktop and applications folders are the ones the uninstaller itself finds; the tool
# ondrix-shell-folder asks its code.
#
#   install-user.sh --program FILE --uninstaller FILE --icon FILE --shell-folder-tool FILE
#                   [--prefix FOLDER] [--strip] [--force]
#
# --strip   strips the two programs as Debian's tooling does (symbols, .comment and .note).
# --force   replaces shortcuts that start an Ondrix in another program folder; without it the
#           install refuses them, since that folder's uninstaller would later remove ours.
#
# Installing over an existing folder replaces the files and rewrites the log. When a step
# fails, everything this run has placed is removed again and the run says so (exit code 1).
set -u

GROUP=Ondrix
LOG=install.txt
# One main category, so that menus list the entry once.
CATEGORIES='Education;Math;'

program="" uninstaller="" icon="" shell_folder_tool="" prefix="" strip=false force=false

say() { printf '%s\n' "$*"; }
usage() {
    say "usage: install-user.sh --program FILE --uninstaller FILE --icon FILE" \
        "--shell-folder-tool FILE [--prefix FOLDER] [--strip] [--force]" >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case $1 in
        --strip) strip=true; shift; continue ;;
        --force) force=true; shift; continue ;;
    esac
    [ $# -ge 2 ] || usage
    case $1 in
        --program) program=$2 ;;
        --uninstaller) uninstaller=$2 ;;
        --icon) icon=$2 ;;
        --shell-folder-tool) shell_folder_tool=$2 ;;
        --prefix) prefix=$2 ;;
        *) usage ;;
    esac
    shift 2
done
[ -n "$program" ] && [ -n "$uninstaller" ] && [ -n "$icon" ] && [ -n "$shell_folder_tool" ] ||
    usage

# ---- Rolling back ---------------------------------------------------------------------------
# Every file and folder this run creates or replaces is recorded, one path a line, before it is
# made; a failure removes them again, newest first.
placed=$(mktemp "${TMPDIR:-/tmp}/ondrix-install.XXXXXX") || {
    say "Install failed: cannot create a temporary file." >&2
    exit 1
}
trap 'rm -f "$placed"' EXIT
trap 'fail "interrupted"' HUP INT TERM

record() { printf '%s\n' "$1" >>"$placed"; }

fail() {
    trap - HUP INT TERM
    say "Install failed: $*" >&2
    if [ -s "$placed" ]; then
        # tac is not needed: sed prints the list newest first.
        sed -n '1!G;h;$p' "$placed" | while IFS= read -r path; do
            if [ -d "$path" ] && [ ! -L "$path" ]; then
                rmdir -- "$path" 2>/dev/null
            else
                rm -f -- "$path"
            fi
        done
        say "Removed what this install had placed." >&2
    else
        say "Nothing was placed." >&2
    fi
    exit 1
}

# ---- Checks before anything is placed ------------------------------------------------------
case ${HOME:-} in
    /*) ;;
    *) fail "HOME is not set to an absolute folder." ;;
esac
for file in "$program" "$uninstaller" "$icon"; do
    [ -f "$file" ] && [ -r "$file" ] || fail "cannot read \"$file\"; build them first."
done
[ -x "$shell_folder_tool" ] || fail "cannot run \"$shell_folder_tool\"; build them first."
if $strip; then
    command -v strip >/dev/null 2>&1 || fail "--strip needs the strip tool (Debian package binutils)."
fi

[ -n "$prefix" ] || prefix=$HOME/.local/opt/$GROUP
# An absolute path without "." or ".." parts or a trailing "/"; links are kept as they are.
prefix=$(realpath -m -s -- "$prefix") || fail "cannot use \"$prefix\" as the program folder."
[ "$prefix" != / ] || fail "the root folder cannot be the program folder."

desktop=$("$shell_folder_tool" Desktop) || fail "cannot find the desktop folder."
programs=$("$shell_folder_tool" Programs) || fail "cannot find the applications folder."

# Desktop entries are line based; a control character in a path cannot be written into one.
for path in "$prefix" "$desktop" "$programs"; do
    case $path in
        *[[:cntrl:]]*) fail "the folder \"$path\" holds a control character." ;;
    esac
done
# GLib's launchers look the program up before they undo the "%%" of an Exec line, so an entry
# whose program path holds "%" never starts, however it is written.
case $prefix in
    *%*) fail "the program folder \"$prefix\" holds a \"%\", which desktop entries cannot launch." ;;
esac

# ---- Placing ---------------------------------------------------------------------------------
# Creates a folder and the missing folders above it, recording each one made.
make_folder() {
    [ -d "$1" ] && return 0
    make_folder "$(dirname -- "$1")" || return 1
    mkdir -- "$1" 2>/dev/null || { [ -d "$1" ] && return 0; } || return 1
    record "$1"
}

# Puts a file in place under its final name: written beside it first, then renamed over
# whatever file or link was there. A folder in its place is not replaced.
# place TARGET MODE  (the contents come from standard input)
place() {
    if [ -d "$1" ] && [ ! -L "$1" ]; then
        return 1
    fi
    tmp=$(dirname -- "$1")/.ondrix-install-$$
    record "$tmp"
    cat >"$tmp" && chmod "$2" "$tmp" && mv -fT -- "$tmp" "$1" && record "$1"
}

# One argument of an Exec line: double quoted, with the characters that quoting reserves
# escaped, "%" doubled for the field codes, then "\" doubled for the string value.
exec_arg() {
    printf '"%s"' "$(printf '%s' "$1" | sed -e 's/[\\"`$]/\\&/g')" |
        sed -e 's/%/%%/g' -e 's/\\/\\\\/g'
}

# A plain string value of a desktop entry: "\" is written "\\".
string_value() {
    printf '%s' "$1" | sed -e 's/\\/\\\\/g'
}

# desktop_entry NAME COMMAND TERMINAL
desktop_entry() {
    say "[Desktop Entry]"
    say "Type=Application"
    say "Name=$1"
    [ "$3" = true ] || say "GenericName=Function Plotter"
    say "Exec=$(exec_arg "$2")"
    say "Icon=$(string_value "$prefix/ondrix.png")"
    say "Terminal=$3"
    say "Categories=$CATEGORIES"
    [ "$3" = true ] || say "StartupWMClass=ondrix"
}

# Copies a program into place; with --strip, as a stripped copy.
place_program() {  # place_program SOURCE TARGET
    if $strip; then
        record "$2.ondrix-strip"
        strip --remove-section=.comment --remove-section=.note -o "$2.ondrix-strip" -- "$1" \
            2>/dev/null || { rm -f -- "$2.ondrix-strip"; return 1; }
        place "$2" 755 <"$2.ondrix-strip"
        status=$?
        rm -f -- "$2.ondrix-strip"
        return $status
    fi
    place "$2" 755 <"$1"
}

# The shortcuts this install writes, each with its Exec line: "FILE<TAB>EXEC LINE" a line.
# The old group entry "Ondrix/Ondrix.desktop" of earlier installs is listed so that it is
# checked like the others and removed at the end.
shortcuts() {
    launch="Exec=$(exec_arg "$prefix/ondrix")"
    printf '%s\t%s\n' "$desktop/$GROUP.desktop" "$launch" "$programs/$GROUP.desktop" "$launch" \
        "$programs/$GROUP/Uninstall $GROUP.desktop" "Exec=$(exec_arg "$prefix/uninstall")" \
        "$programs/$GROUP/$GROUP.desktop" "$launch"
}

# One log entry: the path relative to the program folder, with "\" between its parts.
log_entry() {
    printf '%s\r\n' "$1" | tr '/' '\\'
}

# Shortcuts that start a program in another folder belong to another install, whose
# uninstaller would remove ours: they are replaced only with --force.
tab=$(printf '\t')
taken=$(shortcuts | while IFS=$tab read -r file line; do
    [ -f "$file" ] || continue
    theirs=$(grep -m 1 '^Exec=' "$file" 2>/dev/null) || continue
    [ "$theirs" = "$line" ] || printf '  %s (%s)\n' "$file" "$theirs"
done)
if [ -n "$taken" ] && ! $force; then
    fail "these shortcuts start an Ondrix installed in another folder:
$taken
Remove that install with its own uninstall first, or install with --force
(make install-user FORCE=1) to replace them."
fi

if [ -e "$prefix" ] && [ ! -d "$prefix" ]; then
    fail "\"$prefix\" exists and is not a folder."
fi
make_folder "$prefix" || fail "cannot create the program folder \"$prefix\"."

place_program "$program" "$prefix/ondrix" || fail "cannot write \"$prefix/ondrix\"."
place "$prefix/ondrix.png" 644 <"$icon" || fail "cannot write \"$prefix/ondrix.png\"."
place_program "$uninstaller" "$prefix/uninstall" || fail "cannot write \"$prefix/uninstall\"."
{
    log_entry ondrix
    log_entry ondrix.png
    log_entry "$LOG"
    log_entry uninstall
} | place "$prefix/$LOG" 644 || fail "cannot write \"$prefix/$LOG\"."

make_folder "$desktop" || fail "cannot create the desktop folder \"$desktop\"."
desktop_entry "$GROUP" "$prefix/ondrix" false | place "$desktop/$GROUP.desktop" 755 ||
    fail "cannot write \"$desktop/$GROUP.desktop\"."

if [ -e "$programs/$GROUP" ] && [ ! -d "$programs/$GROUP" ]; then
    fail "\"$programs/$GROUP\" exists and is not a folder."
fi
make_folder "$programs/$GROUP" ||
    fail "cannot create the program group folder \"$programs/$GROUP\"."
desktop_entry "Uninstall $GROUP" "$prefix/uninstall" true |
    place "$programs/$GROUP/Uninstall $GROUP.desktop" 644 ||
    fail "cannot write \"$programs/$GROUP/Uninstall $GROUP.desktop\"."
desktop_entry "$GROUP" "$prefix/ondrix" false | place "$programs/$GROUP.desktop" 644 ||
    fail "cannot write \"$programs/$GROUP.desktop\"."

# An earlier install kept the launcher inside the group as well; it would be a second entry.
rm -f -- "$programs/$GROUP/$GROUP.desktop"

trap - HUP INT TERM
say "Installed Ondrix in $prefix"
say "Remove it with $prefix/uninstall"
