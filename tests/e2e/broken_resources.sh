#!/usr/bin/env bash
# Resource items that are no regular files (a FIFO that nobody writes, a folder) are missing
# pictures and sounds, and a file of junk is no picture: the window shows, plays, and quits on
# SIGTERM with the settings saved, and the junk is told once, not at every frame.
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
    head -c 100000 /dev/urandom >RaijinPict.png  # drawn on every frame
)
E2E_PROGRAM="$game/$(basename "$E2E_PROGRAM")"

e2e_start
e2e_key ctrl+t  # a game, which draws every picture the field has
sleep 0.5
e2e_stop TERM
told="$(grep -c 'RaijinPict.png is no picture' "$E2E_DIR/program.log" || true)"
[[ "$told" == 1 ]] || e2e_fail "the broken picture was told $told times, not once"
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "the file holds '$(e2e_prefs)'"
e2e_log "ok"
