#!/usr/bin/env bash
# The first frame: a 500 x 300 night sky over the red ground, the score-zone bar, and the labels.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start

shot="$E2E_DIR/first.png"
e2e_shot "$shot"
(( E2E_WIN_H > 300 && E2E_WIN_H < 340 )) || e2e_fail "window height $E2E_WIN_H: field plus menu bar"
for point in "5 100" "250 150" "495 250" "150 60"; do
    read -r px py <<<"$point"
    colour="$(e2e_field_pixel "$shot" "$px" "$py")"
    [[ "$colour" == 000066 ]] || e2e_fail "sky at $px,$py is $colour"
done
for point in "60 299" "250 281" "440 297"; do
    read -r px py <<<"$point"
    colour="$(e2e_field_pixel "$shot" "$px" "$py")"
    [[ "$colour" == 990000 ]] || e2e_fail "ground at $px,$py is $colour"
done
# The score-zone bar lies on the ground between the quarters, dark green with nobody in the zone.
bar="$(e2e_count_colour "$shot" 0 280 500 20 009900)"
(( bar >= 200 )) || e2e_fail "score-zone bar: $bar pixels"
# The labels of the three counters stand in the sky's top rows.
labels="$(e2e_count_colour "$shot" 200 0 300 30 000066)"
(( labels < 300 * 30 - 100 )) || e2e_fail "no labels in the top rows"
# Below the field nothing of the window; above it the menu bar, not the sky.
menu="$(e2e_field_pixel "$shot" 5 -5)"
[[ "$menu" != 000066 ]] || e2e_fail "the sky reaches into the menu bar"

e2e_stop
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "first run saved '$(e2e_prefs)'"
e2e_log "ok"
