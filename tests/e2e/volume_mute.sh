#!/usr/bin/env bash
# "消音" from the Game menu's sound submenu is stored as "0" at byte 4 at quit, and the next start
# is muted: its submenu then offers the loudest step as the first one that can be chosen.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

# The sound submenu is the fifth item of the Game menu; Right opens it on its first enabled item.
open_sound_submenu() {
    e2e_open_game_menu
    for _ in 1 2 3 4 5; do
        e2e_key Down
    done
    e2e_key Right
    sleep 0.3
}

e2e_start
open_sound_submenu
# The loudest step is the current one, so the first enabled item is the second; mute is last.
for _ in $(seq 1 8); do
    e2e_key Down
done
e2e_key Return
sleep 0.3
e2e_stop
[[ "$(e2e_prefs)" == 000000000 ]] || e2e_fail "after mute the file holds '$(e2e_prefs)'"

e2e_start
open_sound_submenu
e2e_key Return
sleep 0.3
e2e_stop
# Had the start not been muted, the first enabled step would have been the second loudest ("B").
[[ "$(e2e_prefs)" == 00000A000 ]] || e2e_fail "after the restart the file holds '$(e2e_prefs)'"
e2e_log "ok"
