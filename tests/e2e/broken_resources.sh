#!/usr/bin/env bash
# Resource items that are no regular files (a FIFO that nobody writes, a folder) are missing
# pictures and sounds: the window shows, plays, and quits on SIGTERM with the settings saved.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"

# The program takes the resources folder beside itself: a copy of it gets a broken one.
game="$E2E_DIR/game"
mkdir "$game"
cp "$E2E_PROGRAM" "$game/"
cp -r "$(dirname "$E2E_PROGRAM")/resources" "$game/resources"
(
    cd "$game/resources"
    rm TargetsPict.png DigitPict.png LightningSnd.wav
    mkfifo TargetsPict.png LightningSnd.wav
    mkdir DigitPict.png
)
E2E_PROGRAM="$game/$(basename "$E2E_PROGRAM")"

e2e_start
e2e_key ctrl+t  # a game, which draws every picture the field has
sleep 0.5
e2e_stop TERM
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "the file holds '$(e2e_prefs)'"
e2e_log "ok"
