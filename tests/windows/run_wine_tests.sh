#!/usr/bin/env bash
# Runs the Windows builds in BUILD_DIR under Wine: the GoogleTest suites of the toolkit-free
# libraries, the uninstaller (uninstall/uninstall.exe) in a scratch install folder, the About
# box's registry look-up (key_value_probe.exe), the installer (Ondrix-<version>-setup.exe)
# together with the uninstaller it installs, and the plotter's window (tests/windows/
# gui_tests.sh).
#   tests/windows/run_wine_tests.sh BUILD_DIR
# It needs an X display (the Makefile starts one with xvfb-run): Wine's first start in a new
# prefix already needs one, or its first windowed program gets a broken session.
#
# Wine gets a prefix of its own under BUILD_DIR, and nothing can reach the real home folder:
#   - HOME points into BUILD_DIR, and the prefix's user folders (Desktop, Documents, ...), which
#     Wine makes links to the home folder, are replaced by plain folders;
#   - one Wine session (wineserver -p) serves the whole run, and the shell-folder values are
#     set once it has settled and checked again before every run of the uninstaller;
#   - the shell folders the uninstaller cleans lie in the scratch tree C:\ondrix-tests.
# Output of Wine programs goes through files: Wine's background processes may keep a pipe open.
set -uo pipefail

if [ $# -ne 1 ] || [ ! -d "${1:-}" ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
BUILD=$(cd "$1" && pwd)
SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
UNINSTALL_EXE=$BUILD/uninstall/uninstall.exe
PROBE_EXE=$BUILD/tests/windows/key_value_probe.exe
HOLD_EXE=$BUILD/tests/windows/hold_open.exe
SETUP_EXE=$(ls "$BUILD"/Ondrix-*-setup.exe 2>/dev/null | head -n 1)
PROGRAM_EXE=$BUILD/plotter/windows/Ondrix.exe
# The suites of the toolkit-free libraries, as built for Windows.
SUITES=(
    tests/script/script_engine_tests.exe
    tests/eval/eval_formula_tests.exe
    tests/view/view_test.exe
    tests/canvas/canvas_test.exe
    tests/draw/draw_test.exe
    tests/draw/render_test.exe
    tests/form/form_test.exe
    tests/about/about_tests.exe
    tests/uninstall/uninstall_parse_test.exe
)

export WINEPREFIX=$BUILD/wine-prefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko install dialogs, no menu entries in the desktop's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME=$BUILD/wine-home
unset WAYLAND_DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME"

# The longest a single Wine program may take before it counts as hung.
RUN_LIMIT=60
SHELL_FOLDERS='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
SCRATCH=$WINEPREFIX/drive_c/ondrix-tests
SCRATCH_WIN='C:\ondrix-tests'
IO=$BUILD/wine-io
SUCCESS=$'Uninstall successful\r\n'
NOT_FOUND=$'Uninstall information not found\r\n'

passed=0
failed=0
failures=()

pass() { passed=$((passed + 1)); }
fail() {
    failed=$((failed + 1))
    failures+=("$CASE: $*")
    echo "FAIL $CASE: $*"
}
expect_eq() {  # what, got, wanted
    if [ "$2" == "$3" ]; then pass; else fail "$1: got [$2], wanted [$3]"; fi
}
expect_gone() {
    local p
    for p in "$@"; do
        if [ -e "$SCRATCH/$p" ] || [ -L "$SCRATCH/$p" ]; then fail "$p should be gone"; else pass; fi
    done
}
expect_kept() {
    local p
    for p in "$@"; do
        if [ -e "$SCRATCH/$p" ]; then pass; else fail "$p should stay"; fi
    done
}
file_text() { cat "$1" 2>/dev/null; printf x; }  # keeps trailing line ends for comparison
with_crlf_stripped() { tr -d '\r' <"$1"; }

# --- the Wine session -----------------------------------------------------------------------

replace_user_folder_links() {
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm -f "$link" && mkdir -p "$link"
        fi
    done
}

start_wine() {
    if [ ! -f "$WINEPREFIX/.ondrix-ready" ]; then
        echo "== Creating the Wine prefix $WINEPREFIX (Wine's first start)"
        rm -rf "$WINEPREFIX"
        if ! wineboot -i </dev/null >"$IO/wineboot.out" 2>"$IO/wineboot.err"; then
            echo "wineboot failed:" >&2
            cat "$IO/wineboot.err" >&2
            exit 1
        fi
        wineserver -w </dev/null >/dev/null 2>&1
        touch "$WINEPREFIX/.ondrix-ready"
    fi
    replace_user_folder_links
    wineserver -p </dev/null >/dev/null 2>&1
    trap 'wineserver -k </dev/null >/dev/null 2>&1' EXIT
    # The session's start-up (services, explorer) may still rewrite shell-folder values: let it
    # finish before the tests set theirs.
    wine reg query "$SHELL_FOLDERS" </dev/null >"$IO/reg.out" 2>"$IO/reg.err"
    sleep 2
    replace_user_folder_links
}

reg_out() { tr -d '\r' <"$IO/reg.out"; }

# Sets (TYPE DATA) or removes (TYPE "-") a value under KEY.
set_reg() {  # key, name, type, data
    if [ "$3" == "-" ]; then
        wine reg delete "$1" /v "$2" /f </dev/null >"$IO/reg.out" 2>"$IO/reg.err"
        return 0
    fi
    if ! wine reg add "$1" /v "$2" /t "$3" /d "$4" /f </dev/null >"$IO/reg.out" 2>"$IO/reg.err"; then
        echo "cannot set $1\\$2" >&2
        cat "$IO/reg.err" >&2
        exit 1
    fi
}

# The value as reg.exe shows it ("REG_SZ C:\x"), or "-" when it is missing.
show_reg() {  # key, name
    if ! wine reg query "$1" /v "$2" </dev/null >"$IO/reg.out" 2>"$IO/reg.err"; then
        echo "-"
        return
    fi
    reg_out | sed -n -E "s/^    $2    (REG_[A-Z_]+)    ?(.*)$/\\1 \\2/p"
}

DESKTOP_VALUE=()
PROGRAMS_VALUE=()
# Sets the shell folders "Desktop" and "Programs": each as TYPE DATA, or "-" for no value.
shell_folders() {  # desktop type, desktop data, programs type, programs data
    DESKTOP_VALUE=("$1" "$2")
    PROGRAMS_VALUE=("$3" "$4")
    set_reg "$SHELL_FOLDERS" Desktop "$1" "$2"
    set_reg "$SHELL_FOLDERS" Programs "$3" "$4"
}
shown_as() {  # type, data
    if [ "$1" == "-" ]; then echo "-"; return; fi
    case $1 in
        REG_DWORD) printf '%s 0x%x\n' "$1" "$2" ;;
        *) echo "$1 $2" ;;
    esac
}
# Stops the whole run when a value is not what the test set: a run of the uninstaller could
# otherwise reach folders outside the scratch tree.
check_shell_folders() {
    local name want got
    for name in Desktop Programs; do
        if [ $name == Desktop ]; then
            want=$(shown_as "${DESKTOP_VALUE[@]}")
        else
            want=$(shown_as "${PROGRAMS_VALUE[@]}")
        fi
        got=$(show_reg "$SHELL_FOLDERS" $name)
        if [ "$got" != "$want" ]; then
            echo "The shell folder value $name is [$got], not [$want]: stopping." >&2
            exit 1
        fi
    done
}
standard_shell_folders() {
    shell_folders REG_SZ "$SCRATCH_WIN\\desk" REG_SZ "$SCRATCH_WIN\\prog"
}

# --- the scratch install ---------------------------------------------------------------------

# A fresh tree: app (the install folder with uninstall.exe), desk and prog (the shell folders),
# cwd (the current folder, with a decoy log of its own) and outside.
fresh_tree() {
    rm -rf "$SCRATCH"
    mkdir -p "$SCRATCH"/{app,desk,prog,cwd,outside}
    cp "$UNINSTALL_EXE" "$SCRATCH/app/uninstall.exe"
    printf 'decoy.txt\r\n' >"$SCRATCH/cwd/install.txt"
    make_files cwd/decoy.txt
}
make_files() {
    local p
    for p in "$@"; do
        mkdir -p "$(dirname "$SCRATCH/$p")"
        printf x >"$SCRATCH/$p"
    done
}
# The log: each argument one entry, each ended by CR LF.
write_log() {
    local entry text=""
    for entry in "$@"; do text+="$entry"$'\r\n'; done
    printf '%s' "$text" >"$SCRATCH/app/install.txt"
}
# The Windows path of a scratch item.
win_path() { printf '%s\\%s' "$SCRATCH_WIN" "$(printf '%s' "$1" | tr / '\\')"; }
SHELL_ITEMS=(desk/Ondrix.lnk prog/Ondrix/readme.txt prog/Ondrix.lnk)

RC=0
# Runs the uninstaller from cwd with standard input from $1 (default: at its end).
run_uninstall() {
    check_shell_folders
    (cd "$SCRATCH/cwd" && timeout "$RUN_LIMIT" wine "$SCRATCH_WIN\\app\\uninstall.exe" \
        <"${1:-/dev/null}" >"$IO/out" 2>"$IO/err")
    RC=$?
}
expect_success() {
    expect_eq "exit code" "$RC" 0
    expect_eq "output" "$(file_text "$IO/out")" "${SUCCESS}x"
    expect_eq "errors" "$(file_text "$IO/err")" "x"
}

# Starts hold_open.exe on a scratch file and waits until it holds it.
HOLDER=0
hold() {  # mode, file (relative), [release file (relative)]
    rm -f "$SCRATCH/held.ready"
    local release=()
    [ $# -ge 3 ] && release=("$(win_path "$3")")
    timeout "$RUN_LIMIT" wine "$HOLD_EXE" "$1" "$(win_path "$2")" "$(win_path held.ready)" \
        "${release[@]}" </dev/null >"$IO/hold.out" 2>&1 &
    HOLDER=$!
    local i
    for i in $(seq 200); do
        [ -e "$SCRATCH/held.ready" ] && return 0
        sleep 0.05
    done
    echo "hold_open.exe did not start" >&2
    exit 1
}
release_holder() {
    kill "$HOLDER" 2>/dev/null
    wait "$HOLDER" 2>/dev/null
    rm -f "$SCRATCH/held.ready"
}

# --- the uninstaller ---------------------------------------------------------------------------

test_without_log() {
    local make
    for make in "no log" "log is a folder"; do
        CASE="without a log: $make"
        fresh_tree
        make_files "${SHELL_ITEMS[@]}" app/a.txt
        [ "$make" == "log is a folder" ] && make_files app/install.txt/a.txt
        run_uninstall
        expect_eq "exit code" "$RC" 0
        expect_eq "output" "$(file_text "$IO/out")" "${NOT_FOUND}x"
        expect_kept "${SHELL_ITEMS[@]}" app/a.txt
    done
}

test_full_run() {
    CASE="full run"
    fresh_tree
    make_files app/a.txt app/sub/b.txt app/sub/c.txt app/d.txt app/kept.txt \
        outside/up.txt outside/up2.txt outside/abs.txt outside/root.txt outside/z.txt \
        cwd/a.txt "${SHELL_ITEMS[@]}" prog/Ondrix/deep/er/x.txt prog/Ondrix/.hidden \
        prog/Ondrix/ro.txt desk/other.lnk prog/other.lnk
    mkdir -p "$SCRATCH/prog/Ondrix/empty"
    chmod 444 "$SCRATCH/prog/Ondrix/ro.txt"  # Wine shows it read-only
    # Entries that reach outside: "..", an absolute path, a path from the drive's root, and
    # the Z: drive by which Wine shows the Linux root.
    write_log 'a.txt' 'sub\b.txt' 'sub/c.txt' 'sub\' '' '..\outside\up.txt' \
        'sub\..\..\outside\up2.txt' "$(win_path outside/abs.txt)" '\ondrix-tests\outside\root.txt' \
        "Z:$(printf '%s' "$SCRATCH/outside/z.txt" | tr / '\\')" 'install.txt'
    printf 'd.txt' >>"$SCRATCH/app/install.txt"  # the last line needs no line end
    run_uninstall
    expect_success
    expect_gone app/a.txt app/sub/b.txt app/sub/c.txt app/install.txt app/d.txt \
        "${SHELL_ITEMS[@]}" prog/Ondrix
    expect_kept app/uninstall.exe app/sub app/kept.txt outside/up.txt outside/up2.txt \
        outside/abs.txt outside/root.txt outside/z.txt cwd/a.txt cwd/decoy.txt cwd/install.txt \
        desk/other.lnk prog/other.lnk

    CASE="second run"
    write_log kept2.txt
    make_files app/kept2.txt
    run_uninstall
    expect_success
    run_uninstall
    expect_success
    expect_kept app/install.txt app/uninstall.exe
}

test_waits_for_enter() {
    CASE="waits for Enter"
    fresh_tree
    write_log
    local fifo=$IO/stdin.fifo
    rm -f "$fifo" && mkfifo "$fifo"
    check_shell_folders
    (cd "$SCRATCH/cwd" && exec timeout "$RUN_LIMIT" wine "$SCRATCH_WIN\\app\\uninstall.exe" \
        <"$fifo" >"$IO/out" 2>"$IO/err") &
    local pid=$!
    exec 7>"$fifo"
    local i
    for i in $(seq 400); do
        [ "$(file_text "$IO/out")" == "${SUCCESS}x" ] && break
        sleep 0.05
    done
    expect_eq "output before Enter" "$(file_text "$IO/out")" "${SUCCESS}x"
    sleep 0.5
    if kill -0 "$pid" 2>/dev/null; then pass; else fail "ended before Enter was pressed"; fi
    printf '\r\n' >&7
    exec 7>&-
    wait "$pid"
    expect_eq "exit code" "$?" 0
}

test_unknown_shell_folders() {
    local case_ desk_type desk_data prog_type prog_data
    while IFS='|' read -r case_ desk_type desk_data prog_type prog_data; do
        CASE="shell folders $case_"
        fresh_tree
        write_log
        # Where an empty or relative location would lead: the current folder and the root of
        # the current drive.
        make_files cwd/Ondrix.lnk cwd/Ondrix/x cwd/desk/Ondrix.lnk cwd/prog/Ondrix/x \
            cwd/prog/Ondrix.lnk
        make_files ../Ondrix.lnk ../Ondrix/x ../prog/Ondrix/x ../prog/Ondrix.lnk
        shell_folders "$desk_type" "$desk_data" "$prog_type" "$prog_data"
        run_uninstall
        expect_success
        expect_kept cwd/Ondrix.lnk cwd/Ondrix/x cwd/desk/Ondrix.lnk cwd/prog/Ondrix/x \
            cwd/prog/Ondrix.lnk ../Ondrix.lnk ../Ondrix/x ../prog/Ondrix/x ../prog/Ondrix.lnk
        rm -rf "$SCRATCH/../Ondrix.lnk" "$SCRATCH/../Ondrix" "$SCRATCH/../prog"
    done <<'EOF'
missing|-||-|
empty|REG_SZ||REG_SZ|
relative|REG_SZ|desk|REG_SZ|prog
drive-relative|REG_SZ|C:desk|REG_EXPAND_SZ|\prog
EOF
    standard_shell_folders
}

test_shell_folder_of_another_type() {
    CASE="Desktop value of another type"
    fresh_tree
    write_log
    make_files "${SHELL_ITEMS[@]}"
    shell_folders REG_DWORD 42 REG_EXPAND_SZ "$SCRATCH_WIN\\prog"
    run_uninstall
    expect_success
    expect_kept desk/Ondrix.lnk
    expect_gone prog/Ondrix prog/Ondrix.lnk
    standard_shell_folders
}

test_folders_named_like_the_shortcut() {
    CASE="folders named like the shortcut"
    fresh_tree
    write_log
    make_files desk/Ondrix.lnk/keep.txt prog/Ondrix.lnk/keep.txt prog/Ondrix/x
    run_uninstall
    expect_success
    expect_kept desk/Ondrix.lnk/keep.txt prog/Ondrix.lnk/keep.txt
    expect_gone prog/Ondrix
}

test_file_held_open() {
    CASE="group file held open for the whole run"
    fresh_tree
    write_log
    make_files prog/Ondrix/held.txt prog/Ondrix/free.txt prog/Ondrix.lnk
    hold read prog/Ondrix/held.txt
    run_uninstall
    release_holder
    expect_success
    expect_kept prog/Ondrix/held.txt
    expect_gone prog/Ondrix/free.txt prog/Ondrix.lnk

    CASE="group file released while the run retries"
    fresh_tree
    # The holder lets go once the run has deleted app/signal.txt, before the group's turn.
    write_log signal.txt
    make_files app/signal.txt prog/Ondrix/held.txt prog/Ondrix/free.txt
    hold read prog/Ondrix/held.txt app/signal.txt
    run_uninstall
    release_holder
    expect_success
    expect_gone prog/Ondrix

    CASE="log held open for writing"
    fresh_tree
    write_log a.txt
    make_files app/a.txt "${SHELL_ITEMS[@]}"
    hold write app/install.txt
    run_uninstall
    release_holder
    expect_eq "exit code" "$RC" 1
    expect_eq "output" "$(file_text "$IO/out")" "x"
    local err
    err=$(cat "$IO/err")
    local prefix="Cannot open file \"$SCRATCH_WIN\\app\\install.txt\". "
    if [[ "$err" == "$prefix"?* && "$err" == *$'\r' ]]; then pass; else fail "errors: [$err]"; fi
    expect_kept app/a.txt "${SHELL_ITEMS[@]}"
}

test_write_error() {
    CASE="failed write of the message"
    fresh_tree
    write_log
    check_shell_folders
    (cd "$SCRATCH/cwd" && timeout "$RUN_LIMIT" wine "$SCRATCH_WIN\\app\\uninstall.exe" \
        </dev/null >/dev/full 2>"$IO/err")
    expect_eq "exit code" "$?" 1
    expect_eq "errors" "$(with_crlf_stripped "$IO/err")" \
        "Cannot write to standard output. No space left on device"
}

test_shell_folder_text_rules() {
    CASE="shell folder value cut at its first NUL"
    fresh_tree
    write_log
    make_files "${SHELL_ITEMS[@]}" desk/x/Ondrix.lnk
    # reg.exe cannot write a NUL into a text value; an imported file can. Wine's reg import
    # reads the bytes of hex(1) as ANSI text, one byte a character.
    local data="$SCRATCH_WIN\\desk" hex="" i
    data+=$'\x01\\x'  # stands for the NUL, replaced in the bytes below
    for ((i = 0; i < ${#data}; i++)); do
        local byte
        byte=$(printf '%d' "'${data:i:1}")
        [ "$byte" -eq 1 ] && byte=0
        hex+=$(printf '%02x,' "$byte")
    done
    hex+="00"
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"Desktop"=hex(1):%s\r\n' \
        "HKEY_CURRENT_USER${SHELL_FOLDERS#HKCU}" "$hex" >"$SCRATCH/value.reg"
    if ! wine reg import "$SCRATCH_WIN\\value.reg" </dev/null >"$IO/reg.out" 2>"$IO/reg.err"; then
        fail "cannot import a value holding a NUL: $(cat "$IO/reg.out" "$IO/reg.err")"
        standard_shell_folders
        return
    fi
    DESKTOP_VALUE=(REG_SZ "$SCRATCH_WIN\\desk")
    run_uninstall
    expect_success
    expect_gone "${SHELL_ITEMS[@]}"
    expect_kept desk/x/Ondrix.lnk

    CASE="shell folder value with a control character"
    fresh_tree
    write_log
    # DEL may stand in a Windows file name, so without the rule the step would reach this folder.
    make_files "${SHELL_ITEMS[@]}" $'desk\x7f/Ondrix.lnk'
    shell_folders REG_SZ "$SCRATCH_WIN\\desk"$'\x7f' REG_SZ "$SCRATCH_WIN\\prog"
    run_uninstall
    expect_success
    expect_kept $'desk\x7f/Ondrix.lnk' desk/Ondrix.lnk
    expect_gone prog/Ondrix prog/Ondrix.lnk
    standard_shell_folders
}

test_log_and_group_shapes() {
    CASE="log ends at its first NUL"
    fresh_tree
    printf 'a.txt\r\n\0b.txt\r\n' >"$SCRATCH/app/install.txt"
    make_files app/a.txt app/b.txt
    run_uninstall
    expect_success
    expect_gone app/a.txt
    expect_kept app/b.txt

    CASE="group deeper than the folders held open at once"
    fresh_tree
    write_log
    local deep=prog/Ondrix i
    for i in $(seq 24); do deep+=/f; done
    make_files "$deep/x.txt" prog/Ondrix/f/f/f/y.txt
    run_uninstall
    expect_success
    expect_gone prog/Ondrix
}

# --- the registry look-up ----------------------------------------------------------------------

test_key_value() {
    local msinfo='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
    local long exact
    long=$(printf 'x%.0s' $(seq 1100))
    exact=$(printf 'y%.0s' $(seq 1023))  # 1 024 bytes with its closing NUL
    set_reg "$msinfo" PATH REG_SZ 'C:\Windows\System32\msinfo32.exe'
    set_reg "$msinfo" Expand REG_EXPAND_SZ '%SystemRoot%\System32\msinfo32.exe'
    set_reg "$msinfo" Number REG_DWORD 0x0001002A
    set_reg "$msinfo" Long REG_SZ "$long"
    set_reg "$msinfo" Exact REG_SZ "$exact"
    set_reg "$msinfo" Empty REG_SZ ""
    local name key value want
    while IFS='|' read -r name key value want; do
        CASE="registry look-up: $name"
        timeout "$RUN_LIMIT" wine "$PROBE_EXE" HKLM "$key" "$value" before \
            </dev/null >"$IO/probe.out" 2>"$IO/probe.err"
        want=${want//@EXACT@/$exact}
        expect_eq "result" "$(with_crlf_stripped "$IO/probe.out")" "$want"
    done <<'EOF'
REG_SZ|SOFTWARE\Microsoft\Shared Tools\MSINFO|PATH|found=1 text=[C:\Windows\System32\msinfo32.exe]
REG_EXPAND_SZ keeps the text|SOFTWARE\Microsoft\Shared Tools\MSINFO|Expand|found=1 text=[before]
REG_DWORD|SOFTWARE\Microsoft\Shared Tools\MSINFO|Number|found=1 text=[&h01002A]
value over 1024 bytes|SOFTWARE\Microsoft\Shared Tools\MSINFO|Long|found=0 text=[]
value of 1024 bytes|SOFTWARE\Microsoft\Shared Tools\MSINFO|Exact|found=1 text=[@EXACT@]
empty text|SOFTWARE\Microsoft\Shared Tools\MSINFO|Empty|found=1 text=[]
missing value|SOFTWARE\Microsoft\Shared Tools\MSINFO|None|found=0 text=[]
missing key|SOFTWARE\Ondrix Missing Key|PATH|found=0 text=[]
EOF
}

# --- the installer -------------------------------------------------------------------------------

# The Linux path of a Windows path.
linux_path() { winepath -u "$1" 2>/dev/null </dev/null; }
# The value of a Windows environment variable, as programs see it.
windows_env() { wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r'; }

# Every item in a folder, one relative path a line, sorted.
tree_of() { (cd "$1" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort); }

test_installer() {
    CASE="installer"
    local profile appdata localappdata desk_win prog_win
    profile=$(windows_env USERPROFILE)
    appdata=$(windows_env APPDATA)
    localappdata=$(windows_env LOCALAPPDATA)
    desk_win="$profile\\Desktop"
    prog_win="$appdata\\Microsoft\\Windows\\Start Menu\\Programs"
    local app desk prog
    app=$(linux_path "$localappdata\\Programs\\Ondrix")
    desk=$(linux_path "$desk_win")
    prog=$(linux_path "$prog_win")
    case $app$desk$prog in
        "$WINEPREFIX"/*"$WINEPREFIX"/*"$WINEPREFIX"/*) ;;
        *) echo "The user's folders lie outside the prefix ($app, $desk, $prog): stopping." >&2
           exit 1 ;;
    esac
    # The uninstaller reads the shell folders from the registry: the user's own ones, where
    # the installer puts its shortcuts.
    shell_folders REG_SZ "$desk_win" REG_SZ "$prog_win"
    rm -rf "$app" "$desk/Ondrix.lnk" "$prog/Ondrix" "$prog/Ondrix.lnk"
    mkdir -p "$desk" "$prog"

    timeout "$RUN_LIMIT" wine "$SETUP_EXE" /S </dev/null >"$IO/setup.out" 2>&1
    expect_eq "installer exit code" "$?" 0
    expect_eq "installed files" "$(tree_of "$app")" $'Ondrix.exe\ninstall.txt\nuninstall.exe'
    if cmp -s "$app/Ondrix.exe" "$PROGRAM_EXE" && cmp -s "$app/uninstall.exe" "$UNINSTALL_EXE"; then
        pass
    else
        fail "the installed programs differ from the built ones"
    fi
    # The version resource reads major.minor.revision as 3.00.0003.
    expect_eq "version resource" "$(strings -el "$app/Ondrix.exe" | grep -A1 -x FileVersion | tail -n 1)" \
        3.00.0003
    # 8-bit text, no byte-order mark, CR LF, the log last but one and the uninstaller last.
    expect_eq "install.txt" "$(od -An -c "$app/install.txt" | tr -s ' \n' ' ')" \
        "$(printf 'Ondrix.exe\r\ninstall.txt\r\nuninstall.exe\r\n' | od -An -c | tr -s ' \n' ' ')"
    expect_eq "desktop shortcut" "$(tree_of "$desk")" "Ondrix.lnk"
    # Wine's own items in the programs folder are not ours.
    expect_eq "program group" "$(tree_of "$prog" | grep '^Ondrix')" \
        $'Ondrix\nOndrix/Ondrix.lnk\nOndrix/Uninstall Ondrix.lnk'
    local key
    for key in 'HKCU\Software\Ondrix' 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrix'; do
        if wine reg query "$key" </dev/null >/dev/null 2>&1; then fail "registry key $key"; else pass; fi
    done

    CASE="installed uninstaller"
    check_shell_folders
    (cd "$IO" || exit 1
     timeout "$RUN_LIMIT" wine "$localappdata\\Programs\\Ondrix\\uninstall.exe" \
        </dev/null >"$IO/out" 2>"$IO/err")
    RC=$?
    expect_success
    # A running program cannot delete its own file: the uninstaller stays.
    expect_eq "install folder" "$(tree_of "$app")" "uninstall.exe"
    expect_eq "desktop" "$(tree_of "$desk")" ""
    expect_eq "programs folder" "$(tree_of "$prog" | grep '^Ondrix')" ""
    rm -rf "$app"
    standard_shell_folders
}

# --- the plotter's window ---------------------------------------------------------------------

# shellcheck source=tests/windows/gui_tests.sh
. "$SOURCE_DIR/tests/windows/gui_tests.sh"

# --- the GoogleTest suites ------------------------------------------------------------------

test_suites() {
    local suite name
    for suite in "${SUITES[@]}"; do
        name=$(basename "$suite" .exe)
        CASE="suite $name"
        if timeout "$RUN_LIMIT" wine "$BUILD/$suite" --gtest_brief=1 </dev/null \
            >"$IO/$name.out" 2>"$IO/$name.err"; then
            pass
            echo "$name: $(tr -d '\r' <"$IO/$name.out" | grep -E '^\[  PASSED  \]' | tail -n 1)"
        else
            fail "exit code $? (its output: $IO/$name.out)"
            tr -d '\r' <"$IO/$name.out" | grep -E 'FAILED|Failure' | head -n 20
        fi
    done
}

# --- the run -------------------------------------------------------------------------------------

for program in "$UNINSTALL_EXE" "$PROBE_EXE" "$HOLD_EXE" "$SETUP_EXE" "$PROGRAM_EXE" "$GUI_EXE" \
    "${SUITES[@]/#/$BUILD/}"; do
    if [ ! -f "$program" ]; then
        echo "missing $program: build it first" >&2
        exit 2
    fi
done
mkdir -p "$IO"
start_wine
mkdir -p "$SCRATCH"
standard_shell_folders
echo "== Running the Windows tests under Wine ($(wine --version 2>/dev/null))"

# WINE_TESTS names the groups to run (all when unset), e.g. WINE_TESTS="test_gui".
for group in ${WINE_TESTS:-test_suites test_without_log test_full_run test_waits_for_enter \
    test_unknown_shell_folders test_shell_folder_of_another_type \
    test_folders_named_like_the_shortcut test_file_held_open test_write_error \
    test_shell_folder_text_rules test_log_and_group_shapes test_key_value \
    test_installer test_gui test_gui_150_percent}; do
    "$group"
done

rm -rf "$SCRATCH"
echo "== Windows checks passed: $passed; failed: $failed"
[ "$failed" -eq 0 ]
