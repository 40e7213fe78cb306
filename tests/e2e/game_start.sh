#!/usr/bin/env bash
# Ctrl+T starts a game: label 0 appears and the remaining time counts down.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start

sky_in_label0() { e2e_count_colour "$1" 40 5 40 20 000066; }
before="$E2E_DIR/before.png"
e2e_shot "$before"
[[ "$(sky_in_label0 "$before")" == 800 ]] || e2e_fail "label 0 shows between games"

e2e_key ctrl+t
sleep 0.5
first="$E2E_DIR/first.png"
e2e_shot "$first"
(( $(sky_in_label0 "$first") < 800 )) || e2e_fail "no label 0 after Ctrl+T"

sleep 1.5
second="$E2E_DIR/second.png"
e2e_shot "$second"
e2e_field_crop "$first" 268 5 60 22 "$E2E_DIR/time1.png"
e2e_field_crop "$second" 268 5 60 22 "$E2E_DIR/time2.png"
(( $(e2e_diff_count "$E2E_DIR/time1.png" "$E2E_DIR/time2.png") > 0 )) ||
    e2e_fail "the remaining time stands still"

e2e_stop
e2e_log "ok"
