#!/usr/bin/env bash
# The Game menu as shown: "開始" and "吉凶..." in black between games and greyed during a game,
# while "観察モード" stays available. Ctrl+F during a game opens no fortune. A menu closed with
# Escape leaves the keys to the window.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start

# Black text pixels in one row of the open Game menu: rows 1 to 5 are 開始, 雲隠れ, 観察モード,
# 吉凶... and 効果音.
row_ink() {
    local shot="$E2E_DIR/menu.png" y
    e2e_shot "$shot"
    y=$((E2E_WIN_Y + ${ROW_Y[$1]}))
    convert "$shot" -crop "60x14+$((E2E_WIN_X + 110))+$((y - 7))" +repage \
        -fill white +opaque black -fill black -opaque black -negate \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}
ROW_Y=([1]=33 [2]=56 [3]=80 [4]=104 [5]=128)

e2e_open_game_menu
for row in 1 2 3 4 5; do
    ink="$(row_ink "$row")"
    e2e_log "between games, row $row: $ink"
    (( ink > 10 )) || e2e_fail "row $row is not available between games"
done
e2e_key Escape
sleep 0.2
# The menu bar lets go after Escape: the next key is the runner's, not the bar's.
e2e_key space
sleep 0.3
(( $(row_ink 1) == 0 )) || e2e_fail "a key after Escape opened the menu again"

e2e_key ctrl+t
sleep 0.5
e2e_open_game_menu
declare -A expected=([1]=off [2]=off [3]=on [4]=off [5]=on)
for row in 1 2 3 4 5; do
    ink="$(row_ink "$row")"
    e2e_log "during a game, row $row: $ink"
    if [[ ${expected[$row]} == on ]]; then
        (( ink > 10 )) || e2e_fail "row $row is not available during a game"
    else
        (( ink == 0 )) || e2e_fail "row $row is available during a game"
    fi
done
e2e_key Escape
sleep 0.2

e2e_key ctrl+f
sleep 0.5
if x xdotool search --onlyvisible --name '^吉凶$' >/dev/null; then
    e2e_fail "Ctrl+F opened the fortune during a game"
fi
e2e_stop
e2e_log "ok"
