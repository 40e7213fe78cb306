#!/usr/bin/env bash
# Any key makes the person standing under the left rod walk toward the right one: 4 pixels every
# second tick, so 20 pixels a second. Alt pressed alone before it is no key: it must not hand the
# keyboard to the menu bar, which would open a menu on the next key instead.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start
sleep 3  # the person walks in from the left edge first

# Where the person's skin colour starts in the ground rows; the rods stand outside 36-460.
person_x() { e2e_leftmost_colour "$1" 0 216 500 64 FFD2A8; }

# A bolt may strike the person, who then walks in from the left again: try up to three times.
for attempt in 1 2 3; do
    for _ in $(seq 1 40); do
        e2e_shot "$E2E_DIR/standing.png"
        x0="$(person_x "$E2E_DIR/standing.png")"
        (( x0 >= 0 && x0 < 36 )) && break
        sleep 0.25
    done
    (( x0 >= 0 && x0 < 36 )) || e2e_fail "nobody stands under the left rod"
    e2e_key alt
    e2e_key space
    sleep 0.3
    (( $(x xdotool search --onlyvisible --classname tembrolo | wc -l) == 1 )) ||
        e2e_fail "Alt and a key opened a menu"
    sleep 1.2
    e2e_shot "$E2E_DIR/walking.png"
    x1="$(person_x "$E2E_DIR/walking.png")"
    sleep 1
    e2e_shot "$E2E_DIR/further.png"
    x2="$(person_x "$E2E_DIR/further.png")"
    e2e_log "attempt $attempt: $x0 -> $x1 -> $x2"
    # About 20 pixels a second.
    if (( x1 > x0 + 15 && x2 > x1 + 10 && x2 < x1 + 40 )); then
        e2e_stop
        e2e_log "ok"
        exit 0
    fi
done
e2e_fail "the person did not walk"
