#!/usr/bin/env bash
# Under a file-size limit too small for the preferences file, the save at quit fails as on a full
# disk: the old file stays as it was, no shadow is left beside it, and the program exits cleanly.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
prefs="$E2E_DIR/config/Tembroloの設定"

e2e_start
e2e_stop
# An older, shorter settings string in the game's own file (type and creator kept): the next
# start completes it, so its quit has something to save.
printf 00000 >"$prefs"

e2e_start bash -c 'ulimit -f 0 && exec "$@"' limited
e2e_stop
[[ "$(e2e_prefs)" == 00000 ]] || e2e_fail "the failed save left '$(e2e_prefs)'"
[[ "$(ls -A "$E2E_DIR/config")" == "Tembroloの設定" ]] ||
    e2e_fail "the failed save left $(ls -A "$E2E_DIR/config" | tr '\n' ' ')"

# Without the limit the same quit saves.
e2e_start
e2e_stop
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "the unlimited save wrote '$(e2e_prefs)'"
e2e_log "ok"
