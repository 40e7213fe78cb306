#!/usr/bin/env bash
# A termination signal at any moment quits the way the menu does: the first start's settings are
# saved and the exit status is 0. One comes as soon as the program has its handler (before its Qt
# application exists), one while Qt connects to the X server, and a burst of them runs on through
# the whole quit, up to the release of everything at exit. A signal that comes in ignored (nohup)
# stays ignored.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
prefs="$E2E_DIR/config/Tembroloの設定"

# Launches a first start, polls without sleeping until `$2` holds, and then sends signal `$1`.
signal_when() {
    local deadline=$((SECONDS + 20))
    rm -f "$prefs"
    e2e_launch
    until "$2"; do
        kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended before the $1"
        ((SECONDS < deadline)) || e2e_fail "the moment for the $1 never came"
    done
    kill -"$1" "$E2E_PID"
    e2e_wait_exit 20
    [[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "after an early $1 the file holds '$(e2e_prefs)'"
}

catches_hup() { e2e_catches HUP; }
# Qt's connection to the X server brings the program's first threads.
connecting_to_x() {
    e2e_status Threads
    ((${E2E_STATUS:-0} >= 2))
}

e2e_log "SIGHUP as soon as it is caught"
signal_when HUP catches_hup

e2e_log "SIGTERM while connecting to the X server"
signal_when TERM connecting_to_x

e2e_log "under nohup, SIGHUP stays ignored and SIGTERM still quits"
rm -f "$prefs"
e2e_start nohup
e2e_catches TERM || e2e_fail "SIGTERM is not caught under nohup"
! e2e_catches HUP || e2e_fail "the ignored SIGHUP was taken over"
kill -HUP "$E2E_PID"
sleep 1
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "SIGHUP ended the program under nohup"
e2e_stop TERM
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "after nohup the file holds '$(e2e_prefs)'"

e2e_log "a burst of SIGTERMs through the quit"
rm -f "$prefs"
e2e_start
deadline=$((SECONDS + 20))
while kill -TERM "$E2E_PID" 2>/dev/null; do
    ((SECONDS < deadline)) || e2e_fail "the program did not quit under a burst of SIGTERMs"
done
wait "$E2E_PID" || e2e_fail "the burst ended the program with status $?"
E2E_PID=""
[[ "$(e2e_prefs)" == 000001000 ]] || e2e_fail "after the burst the file holds '$(e2e_prefs)'"
e2e_log "ok"
