#!/usr/bin/env bash
# Ctrl+F between games opens "吉凶" over the main window, and as its transient: the main field
# stands still while the fortune runs, Escape doesn't close it, and "閉じる" lets the main game go on.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start

# The main field's left strip, which the centred fortune window leaves uncovered.
strip() { e2e_field_crop "$1" 0 0 140 300 "$2"; }
changes_within() {
    e2e_shot "$E2E_DIR/a.png"
    sleep "$1"
    e2e_shot "$E2E_DIR/b.png"
    strip "$E2E_DIR/a.png" "$E2E_DIR/a-strip.png"
    strip "$E2E_DIR/b.png" "$E2E_DIR/b-strip.png"
    e2e_diff_count "$E2E_DIR/a-strip.png" "$E2E_DIR/b-strip.png"
}

# Between games the god patrols and bolts fall; over 3 s the strip changes.
(( $(changes_within 3) > 0 )) || e2e_fail "the main field stands still before the fortune"

e2e_key ctrl+f
fortune="$(x timeout 10 xdotool search --sync --onlyvisible --name '^吉凶$' | head -n 1)" ||
    e2e_fail "no fortune window"
geometry="$(x xwininfo -id "$fortune")"
[[ "$(awk '/Width:/ {print $2}' <<<"$geometry")" == 200 ]] || e2e_fail "fortune width"
[[ "$(awk '/Height:/ {print $2}' <<<"$geometry")" == 330 ]] || e2e_fail "fortune height"
fx="$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")"
fy="$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")"
e2e_belongs_to_main "$fortune" || e2e_fail "the fortune window does not belong to the main window"
sleep 0.5
(( $(changes_within 3) == 0 )) || e2e_fail "the main field moved under the fortune"

# The fortune itself runs: its field changes.
x import -window root -crop "200x300+$fx+$fy" "$E2E_DIR/f1.png"
sleep 1
x import -window root -crop "200x300+$fx+$fy" "$E2E_DIR/f2.png"
(( $(e2e_diff_count "$E2E_DIR/f1.png" "$E2E_DIR/f2.png") > 0 )) || e2e_fail "the fortune stands still"

x xdotool windowfocus --sync "$fortune"
e2e_key Escape
sleep 0.3
x xdotool search --onlyvisible --name '^吉凶$' >/dev/null || e2e_fail "Escape closed the fortune"

# "閉じる" sits centred under the fortune's field.
x xdotool mousemove $((fx + 100)) $((fy + 315))
sleep 0.1
x xdotool click 1
sleep 0.5
if x xdotool search --onlyvisible --name '^吉凶$' >/dev/null; then
    e2e_fail "閉じる left the fortune open"
fi
(( $(changes_within 3) > 0 )) || e2e_fail "the main field stands still after the fortune"

e2e_stop
e2e_log "ok"
