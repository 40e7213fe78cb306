#!/usr/bin/env bash
# The About window from the help menu: white, with the name, the rights line and the icon that
# gives way to the logo under the mouse; any key or click closes it; the game runs on beneath.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start

ABOUT_TITLE='^Tembroloについて$'
HELP_MENU_X=172
HELP_MENU_Y=10

open_about() {
    x xdotool mousemove --sync $((E2E_WIN_X + HELP_MENU_X)) $((E2E_WIN_Y + HELP_MENU_Y)) click 1
    sleep 0.4
    e2e_key Down Return
    ABOUT_WID="$(x timeout 10 xdotool search --sync --onlyvisible --name "$ABOUT_TITLE" | head -n 1)" ||
        e2e_fail "no About window"
    local geometry
    geometry="$(x xwininfo -id "$ABOUT_WID")"
    ABOUT_X="$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")"
    ABOUT_Y="$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")"
    [[ "$(awk '/Width:/ {print $2}' <<<"$geometry")" == 200 ]] || e2e_fail "About width"
    [[ "$(awk '/Height:/ {print $2}' <<<"$geometry")" == 80 ]] || e2e_fail "About height"
    e2e_belongs_to_main "$ABOUT_WID" || e2e_fail "the About window does not belong to the main window"
    x xdotool windowfocus --sync "$ABOUT_WID"
    sleep 0.4
}

about_closed() { ! x xdotool search --onlyvisible --name "$ABOUT_TITLE" >/dev/null 2>&1; }

# A part of a screenshot in the About window's coordinates: file, x, y, width, height, output.
about_crop() {
    convert "$1" -crop "$4x$5+$((ABOUT_X + $2))+$((ABOUT_Y + $3))" +repage "$6"
}

# How many pixels of a part of the About window are not white.
about_ink() {
    about_crop "$1" "$2" "$3" "$4" "$5" "$E2E_DIR/ink.png"
    convert "$E2E_DIR/ink.png" -fill black -opaque white -fill white +opaque black \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# A game runs, so its clock changes while the About window is open.
e2e_key ctrl+t
sleep 0.3
open_about
first="$E2E_DIR/about1.png"
e2e_shot "$first"
(( $(about_ink "$first" 0 0 170 14) == 0 )) || e2e_fail "the top strip is not white"
(( $(about_ink "$first" 180 3 16 8) > 20 )) || e2e_fail "no badge in the top-right corner"
(( $(about_ink "$first" 170 30 30 50) == 0 )) || e2e_fail "the right side is not white"
(( $(about_ink "$first" 64 24 100 16) > 80 )) || e2e_fail "no name"
(( $(about_ink "$first" 16 56 168 16) > 80 )) || e2e_fail "no rights line"
(( $(about_ink "$first" 16 16 32 32) > 500 )) || e2e_fail "no icon"
about_crop "$first" 16 16 32 32 "$E2E_DIR/icon.png"

# Over the icon the logo shows; off it the icon comes back.
x xdotool mousemove --sync $((ABOUT_X + 32)) $((ABOUT_Y + 32))
sleep 0.4
e2e_shot "$E2E_DIR/over.png"
about_crop "$E2E_DIR/over.png" 16 16 32 32 "$E2E_DIR/logo.png"
(( $(e2e_diff_count "$E2E_DIR/icon.png" "$E2E_DIR/logo.png") > 100 )) || e2e_fail "no logo"
x xdotool mousemove --sync $((ABOUT_X + 150)) $((ABOUT_Y + 45))
sleep 0.4
second="$E2E_DIR/about2.png"
e2e_shot "$second"
about_crop "$second" 16 16 32 32 "$E2E_DIR/icon2.png"
(( $(e2e_diff_count "$E2E_DIR/icon.png" "$E2E_DIR/icon2.png") == 0 )) || e2e_fail "icon not back"

# The game went on beneath: its clock, right of the About window, has changed.
e2e_field_crop "$first" 200 0 300 40 "$E2E_DIR/clock1.png"
e2e_field_crop "$second" 200 0 300 40 "$E2E_DIR/clock2.png"
(( $(e2e_diff_count "$E2E_DIR/clock1.png" "$E2E_DIR/clock2.png") > 0 )) ||
    e2e_fail "the game stood still under the About window"

e2e_key a
sleep 0.4
about_closed || e2e_fail "a key left the About window open"

# Opened again it shows the icon, and a click closes it.
open_about
e2e_shot "$E2E_DIR/again.png"
about_crop "$E2E_DIR/again.png" 16 16 32 32 "$E2E_DIR/icon3.png"
(( $(e2e_diff_count "$E2E_DIR/icon.png" "$E2E_DIR/icon3.png") == 0 )) ||
    e2e_fail "the reopened window does not start with the icon"
x xdotool mousemove --sync $((ABOUT_X + 100)) $((ABOUT_Y + 45)) click 1
sleep 0.4
about_closed || e2e_fail "a click left the About window open"

e2e_stop
e2e_log "ok"
