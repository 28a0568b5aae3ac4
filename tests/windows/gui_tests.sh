# shellcheck shell=bash disable=SC2034  # CASE is read by run_wine_tests.sh
# The plotter's window under Wine, driven with xdotool. Sourced by run_wine_tests.sh, which
# provides the Wine session, BUILD, IO, RUN_LIMIT and pass/fail/expect_eq.
#
# The test build Ondrix-test.exe is the program with two test keys: Ctrl+Shift+F9 writes
# ondrix-state.txt (view, scroll bars, status text, texts, control places) and
# ondrix-canvas.ppm (the canvas's pixels) into its current folder; Ctrl+Shift+F2 sizes the
# window so that its client area is the size ondrix-resize.txt gives. Without a window manager
# X focus follows the pointer, so the pointer goes into the window before every key.
#
# "One picture, two front ends": the canvas of the Windows build is compared with the pictures
# the Linux build's tests keep (tests/qt/data), labels excepted, since the fonts differ.

GUI_EXE=$BUILD/plotter/windows/Ondrix-test.exe
GUI_DIR=$IO/gui
REFERENCE_DIR=$SOURCE_DIR/tests/qt/data
SHOTS=$BUILD/screenshots
# The screen the Makefile's xvfb-run gives.
SCREEN_SIZE="1920 1280"
# The design client area; at 150 % the Linux pictures were made one pixel wider.
DESIGN_CLIENT="657 761"
DESIGN_CLIENT_150="658 761"
# Colours of the canvas (RGB): background, grid, axes, the three curves, the combined curve.
CANVAS_COLORS=(white '#c8c8c8' '#f00000' '#0000a0' '#00a000' '#a00000' '#646464')

GUI_PID=0
GUI_WINDOW=""
declare -A STATE

gui_start() {  # the DPI the program will find
    STATE=([dpi]=$1)
    rm -rf "$GUI_DIR"
    mkdir -p "$GUI_DIR"
    (cd "$GUI_DIR" && exec timeout "$RUN_LIMIT" wine "$GUI_EXE" </dev/null >out.txt 2>err.txt) &
    GUI_PID=$!
    GUI_WINDOW=""
    local i
    for i in $(seq 150); do
        GUI_WINDOW=$(xdotool search --onlyvisible --name '^Ondrix$' 2>/dev/null | head -n 1)
        [ -n "$GUI_WINDOW" ] && break
        sleep 0.1
    done
    if [ -z "$GUI_WINDOW" ]; then
        fail "the window did not open"
        return 1
    fi
    sleep 0.5
    gui_dump
}

# Stops the program if it still runs; returns its exit code.
gui_stop() {
    if kill -0 "$GUI_PID" 2>/dev/null; then
        local i
        for i in $(seq 50); do kill -0 "$GUI_PID" 2>/dev/null || break; sleep 0.1; done
        kill "$GUI_PID" 2>/dev/null
    fi
    wait "$GUI_PID"
}

# A device length for a design length at the program's DPI (rounded as the program does).
dev() { echo $((($1 * ${STATE[dpi]:-96} + 48) / 96)); }

# The pointer into the window (over the status bar, where a click does nothing), then keys.
gui_key() {
    local x y w h
    read -r x y w h <<<"$(gui_window_box)"
    xdotool mousemove $((x + w / 2)) $((y + h - $(dev 10))) click 1
    sleep 0.1
    xdotool key --delay 60 "$@"
    sleep 0.2
}

# The window's outer box on the screen: x y width height.
gui_window_box() {
    xdotool getwindowgeometry "$GUI_WINDOW" 2>/dev/null |
        sed -n -e 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p' -e 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' |
        tr '\n' ' '
}

# Presses the given keys, if any, then asks the test build for its state; fills STATE.
gui_dump() {
    rm -f "$GUI_DIR/ondrix-state.txt" "$GUI_DIR/ondrix-canvas.ppm"
    gui_key "$@" ctrl+shift+F9
    local i
    for i in $(seq 50); do
        [ -s "$GUI_DIR/ondrix-canvas.ppm" ] && [ -s "$GUI_DIR/ondrix-state.txt" ] && break
        sleep 0.1
    done
    sleep 0.2
    STATE=()
    local name rest
    while read -r name rest; do STATE[$name]=$rest; done < <(tr -d '\r' <"$GUI_DIR/ondrix-state.txt")
}

# A point of the client area (design pixels) on the screen: x y.
client_point() {
    local px py pw ph
    read -r px py pw ph <<<"${STATE[picture]}"
    echo $((px + $(dev "$1"))) $((py - $(dev 158) + $(dev "$2")))
}

gui_click_client() {
    local x y
    read -r x y <<<"$(client_point "$1" "$2")"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.3
}

# Counts of the canvas colours in a picture: one "count colour" line each.
colour_count() {  # picture, colour
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}

# A white mask of the pixels of a picture that are none of the canvas colours (label text),
# grown by a pixel.
label_mask() {  # picture, mask
    local args=(-fill '#010101' -opaque black)
    local c
    for c in "${CANVAS_COLORS[@]}"; do args+=(-fill black -opaque "$c"); done
    convert "$1" -alpha off "${args[@]}" -fill white +opaque black -morphology Dilate Square:1 "$2"
}

# Pixels that differ between two pictures outside the labels of both; "size" when their sizes
# differ, "masked" when the labels cover more than a tenth of the picture.
differing_pixels() {  # picture, reference
    local a=$GUI_DIR/cmp-a.png b=$GUI_DIR/cmp-b.png m=$GUI_DIR/cmp-m.png
    if [ "$(identify -format '%wx%h' "$1")" != "$(identify -format '%wx%h' "$2")" ]; then
        echo "size $(identify -format '%wx%h' "$1") $(identify -format '%wx%h' "$2")"
        return
    fi
    label_mask "$1" "$a"
    label_mask "$2" "$b"
    convert "$a" "$b" -compose lighten -composite "$m"
    if [ "$(convert "$m" -format '%[fx:mean > 0.1]' info:)" = 1 ]; then echo masked; return; fi
    convert "$1" -alpha off \( "$m" -transparent black -fill magenta -opaque white \) -compose over -composite "$a"
    convert "$2" -alpha off \( "$m" -transparent black -fill magenta -opaque white \) -compose over -composite "$b"
    compare -metric AE "$a" "$b" null: 2>&1
}

expect_view() {  # what, XMin XMax YMin YMax XStep YStep
    local got
    got=$(awk '{printf "%.10g %.10g %.10g %.10g %.10g %.10g", $1, $2, $3, $4, $5, $6}' <<<"${STATE[view]}")
    expect_eq "$1" "$got" "$2"
}

# Sizes the client area to the design size and resets the view.
gui_design_size() {  # "width height"
    printf '%s\n' "$1" >"$GUI_DIR/ondrix-resize.txt"
    gui_key ctrl+shift+F2
    gui_dump F8
}

# Types into formula box k (0 to 2) and presses Enter.
gui_type_formula() {  # k, text
    gui_click_client 135 $((40 + 16 + 32 * $1 + 12))
    xdotool key ctrl+a BackSpace
    xdotool type --delay 40 "$2"
    xdotool key Return
    sleep 0.5
}

gui_screenshot() {  # name
    mkdir -p "$SHOTS"
    import -window root "$SHOTS/$1.png" 2>/dev/null
}

# Opens the About box from the Help menu (F10 selects File; three to the right is Help).
gui_about() {
    gui_key F10 Right Right Right Return Return
    local about="" i
    for i in $(seq 30); do
        about=$(xdotool search --onlyvisible --name '^About Ondrix$' 2>/dev/null | head -n 1)
        [ -n "$about" ] && break
        sleep 0.1
    done
    echo "$about"
}

test_gui() {
    CASE="window at start"
    if [ "$(xdotool getdisplaygeometry)" != "$SCREEN_SIZE" ]; then
        fail "the display is not $SCREEN_SIZE"
        return
    fi
    gui_start 96 || return
    # Three quarters of a 1920 x 1280 screen, centred.
    expect_eq "outer box" "${STATE[window]}" "240 160 1440 960"
    expect_eq "dpi" "${STATE[dpi]}" 96
    expect_view "start view" "-16.68 16.68 -10 10 2 2"
    expect_eq "mode" "${STATE[mode]}" 1
    expect_eq "formula box 0" "${STATE[text0]}" x
    expect_eq "focus on Text1(0)" "${STATE[focus]}" 2
    local cw ch
    read -r cw ch <<<"${STATE[client]}"
    expect_eq "canvas size" "${STATE[canvas]}" "$((cw - 18)) $((ch - 205))"
    local picture=$GUI_DIR/ondrix-canvas.ppm
    local colour
    for colour in '#c8c8c8' '#f00000' '#0000a0'; do
        if [ "$(colour_count "$picture" "$colour")" -gt 100 ]; then pass; else fail "no $colour in the start picture"; fi
    done
    gui_screenshot start-96dpi

    CASE="tab order"
    # Tab walks Text1(1), Text1(2), Check1, Picture1, VScroll1, HScroll1, Check3, Combo1 and
    # back to Text1(0) (numbered as the form's control list numbers them).
    local order=""
    for _ in 1 2 3 4 5 6 7 8 9; do
        gui_dump Tab
        order+="${STATE[focus]} "
    done
    expect_eq "focus after each Tab" "$order" "3 4 9 11 12 13 10 8 2 "

    CASE="one picture, two front ends"
    gui_design_size "$DESIGN_CLIENT"
    expect_eq "canvas at the design size" "${STATE[canvas]}" "639 556"
    expect_eq "start view" "$(differing_pixels "$picture" "$REFERENCE_DIR/start_view.png")" 0
    gui_type_formula 1 'Sin(x)*5'
    gui_type_formula 2 'x^2/10'
    gui_dump
    expect_eq "formula box 1" "${STATE[text1]}" 'Sin(x)*5'
    expect_eq "formula box 2" "${STATE[text2]}" 'x^2/10'
    expect_eq "three curves" "$(differing_pixels "$picture" "$REFERENCE_DIR/three_curves.png")" 0

    CASE="the window shows the canvas pixel for pixel"
    local px py pw ph
    read -r px py pw ph <<<"${STATE[picture]}"
    import -window root -crop "${pw}x${ph}+${px}+${py}" "$GUI_DIR/shown.png" 2>/dev/null
    expect_eq "differing pixels" "$(compare -metric AE "$GUI_DIR/shown.png" "$picture" null: 2>&1)" 0
    gui_screenshot curves-96dpi

    CASE="view keys"
    gui_dump F11
    expect_view "F11" "-8.34 8.34 -10 10 1 2"
    gui_dump ctrl+F12
    expect_view "Ctrl+F12" "-8.34 8.34 -20 20 1 4"
    gui_dump F8
    expect_view "F8" "-16.68 16.68 -10 10 2 2"

    CASE="read-out"
    xdotool mousemove "$px" "$py"
    sleep 0.3
    gui_dump
    expect_eq "status text at the top-left corner" "${STATE[status]}" "-16.68 10"

    CASE="scroll bar"
    # The right arrow of HScroll1, at the right end of the bar below the canvas.
    gui_click_client $((pw - 8)) $((158 + ph - 1 + 8))
    gui_dump
    expect_eq "HScroll1 value min max" "${STATE[hscroll]}" "1 -100 168"
    expect_view "one step right" "-16.58 16.78 -10 10 2 2"

    CASE="About box"
    # Whether it is open comes from the program: without a window manager Wine leaves the X
    # window of a closed one on the screen for a while.
    local about key
    for key in Return Escape; do
        about=$(gui_about)
        gui_dump
        expect_eq "open" "${STATE[about]}" 1
        [ "$key" = Return ] && gui_screenshot about-96dpi
        [ -n "$about" ] || continue
        # Enter and Esc press OK, the default and cancel button.
        xdotool mousemove --window "$about" 20 20
        sleep 0.3
        xdotool click 1
        sleep 0.3
        xdotool key "$key"
        sleep 0.3
        gui_dump
        expect_eq "closed by $key" "${STATE[about]}" 0
    done

    test_gui_sys_info

    CASE="toolbar"
    # Button 1, "New", at the left end of the toolbar: empties the formula boxes.
    gui_click_client 28 19
    gui_dump
    expect_eq "formula boxes after New" "${STATE[text0]}|${STATE[text1]}|${STATE[text2]}" "||"

    CASE="Exit"
    gui_exit
}

# "System Info..." in the About box: with neither registry entry the message box comes up;
# with entry 1 naming a program, that program starts.
test_gui_sys_info() {
    CASE="System Info"
    local msinfo='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
    local location='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
    set_reg "$msinfo" PATH -
    set_reg "$location" MSINFO -
    local about
    about=$(gui_about)
    [ -n "$about" ] || { fail "the About box did not open"; return; }
    # The button, in design pixels of the dialog's client area (its X window).
    xdotool mousemove --window "$about" "$(dev 325)" "$(dev 216)" click 1
    local box="" i
    for i in $(seq 50); do
        box=$(xdotool search --onlyvisible --name '^Ondrix$' 2>/dev/null | grep -v "^$GUI_WINDOW\$" | head -n 1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    if [ -n "$box" ]; then pass; else fail "no message box"; fi
    gui_screenshot sys-info-unavailable
    if [ -n "$box" ]; then
        # Its OK button, at the middle of its lower edge.
        local w h
        read -r w h <<<"$(xdotool getwindowgeometry "$box" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')"
        xdotool mousemove --window "$box" $((w / 2)) $((h - $(dev 18))) click 1
        sleep 0.5
        gui_screenshot sys-info-closed
    fi

    set_reg "$msinfo" PATH REG_SZ 'C:\windows\system32\notepad.exe'
    xdotool mousemove --window "$about" "$(dev 325)" "$(dev 216)" click 1
    local tool=""
    for i in $(seq 100); do
        tool=$(xdotool search --onlyvisible --name 'Notepad' 2>/dev/null | head -n 1)
        [ -n "$tool" ] && break
        sleep 0.1
    done
    if [ -n "$tool" ]; then pass; else fail "the program of entry 1 did not start"; fi
    wine taskkill /f /im notepad.exe </dev/null >/dev/null 2>&1
    for i in $(seq 50); do
        xdotool search --onlyvisible --name 'Notepad' >/dev/null 2>&1 || break
        sleep 0.1
    done
    set_reg "$msinfo" PATH -
}

# Chooses "Exit" in the File menu (F10 selects File, Up wraps to its last item).
gui_exit() {
    gui_key F10 Return Up Return
    gui_stop
    expect_eq "exit code" "$?" 0
}

# The same pictures at 144 dots per inch (Wine's LogPixels): the layout is scaled, the canvas
# has 1.5 device pixels to a logical one.
test_gui_150_percent() {
    local desktop='HKCU\Control Panel\Desktop'
    set_reg "$desktop" LogPixels REG_DWORD 144
    CASE="144 dpi"
    if gui_start 144; then
        expect_eq "dpi" "${STATE[dpi]}" 144
        gui_screenshot start-144dpi
        gui_design_size "$DESIGN_CLIENT_150"
        local picture=$GUI_DIR/ondrix-canvas.ppm
        expect_eq "canvas at the design size" "${STATE[canvas]}" "960 834"
        expect_view "start view" "-16.68 16.68 -10 10 2 2"
        expect_eq "start view" "$(differing_pixels "$picture" "$REFERENCE_DIR/start_view@1.5.png")" 0
        gui_type_formula 1 'Sin(x)*5'
        gui_type_formula 2 'x^2/10'
        gui_dump
        expect_eq "three curves" \
            "$(differing_pixels "$picture" "$REFERENCE_DIR/three_curves@1.5.png")" 0
        gui_screenshot curves-144dpi
        local about
        about=$(gui_about)
        if [ -n "$about" ]; then pass; else fail "the About box did not open"; fi
        gui_screenshot about-144dpi

        CASE="closing the last window"
        # Alt+F4 closes the main window; the open About box keeps the program running until
        # it is closed too.
        gui_key alt+F4
        sleep 0.5
        if kill -0 "$GUI_PID" 2>/dev/null; then pass; else fail "the program ended with the About box open"; fi
        if [ -n "$about" ]; then
            xdotool mousemove --window "$about" 20 20
            sleep 0.3
            xdotool click 1
            sleep 0.3
            xdotool key Return
        fi
        gui_stop
        expect_eq "exit code" "$?" 0
    fi
    set_reg "$desktop" LogPixels REG_DWORD 96
}
