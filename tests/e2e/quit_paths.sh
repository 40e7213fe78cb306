#!/usr/bin/env bash
# Every way out ends in the same quit, which saves the settings: the quit shortcut, closing the
# main window as a window manager asks, SIGINT, and SIGTERM (which every other test uses). A
# window manager's close of the fortune window is refused.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
here="$(dirname "$0")"
prefs="$E2E_DIR/config/Tembroloの設定"

fresh_start() {
    rm -f "$prefs"
    e2e_start
}

e2e_log "quit shortcut"
fresh_start
e2e_key ctrl+q
e2e_wait_exit
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "Ctrl+Q saved '$(e2e_prefs)'"

e2e_log "window manager's close"
fresh_start
e2e_key ctrl+f
fortune="$(x timeout 10 xdotool search --sync --onlyvisible --name '^吉凶$' | head -n 1)" ||
    e2e_fail "no fortune window"
x python3 "$here/wm_close.py" "$fortune"
sleep 0.5
x xdotool search --onlyvisible --name '^吉凶$' >/dev/null ||
    e2e_fail "the window manager's close took the fortune away"
# The fortune is modal: the main window can't be closed under it either.
x python3 "$here/wm_close.py" "$E2E_WID"
sleep 0.5
kill -0 "$E2E_PID" || e2e_fail "the main window closed under the fortune"
x xdotool windowfocus --sync "$fortune"
e2e_key Return
sleep 0.5
x python3 "$here/wm_close.py" "$E2E_WID"
e2e_wait_exit
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "closing the window saved '$(e2e_prefs)'"

# As from a terminal: a script's background job comes in with SIGINT ignored, and keeps it so.
e2e_log "SIGINT"
rm -f "$prefs"
e2e_start env --default-signal=INT
e2e_stop INT
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "SIGINT saved '$(e2e_prefs)'"

# A quit that changes nothing leaves the file alone.
touch -d '2001-01-01' "$prefs"
e2e_start
e2e_stop TERM
[[ "$(stat -c %Y "$prefs")" == "$(date -d 2001-01-01 +%s)" ]] || e2e_fail "an unchanged quit wrote"
e2e_log "ok"
