# Shared by the end-to-end tests: a private X server, a fresh home, the program under test, and
# screenshots. Sourced, never run as a test. Every test calls e2e_setup "$1" first.
set -euo pipefail

E2E_PROGRAM=""
E2E_DISPLAY=""
E2E_XVFB_PID=""
E2E_PID=""
E2E_WID=""
E2E_DIR=""
# The field's top-left corner on the screen: below the window's menu bar.
E2E_FIELD_X=0
E2E_FIELD_Y=0

e2e_log() { echo "[$(date +%T)] $*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    exit 1
}

e2e_cleanup() {
    if [[ -n "$E2E_PID" ]] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill -KILL "$E2E_PID" 2>/dev/null || true
    fi
    if [[ -n "$E2E_XVFB_PID" ]]; then
        kill "$E2E_XVFB_PID" 2>/dev/null || true
        wait "$E2E_XVFB_PID" 2>/dev/null || true
    fi
    if [[ -n "$E2E_DIR" && -d "$E2E_DIR" ]]; then
        if [[ -n "${E2E_KEEP:-}" ]]; then
            e2e_log "kept $E2E_DIR"
        else
            rm -rf "$E2E_DIR"
        fi
    fi
}

# A display number that no X server holds, starting from a random point.
e2e_free_display() {
    local n=$((200 + RANDOM % 600)) tries
    for tries in $(seq 1 100); do
        if [[ ! -e "/tmp/.X$n-lock" && ! -e "/tmp/.X11-unix/X$n" ]]; then
            echo "$n"
            return
        fi
        n=$((n + 1))
    done
    e2e_fail "no free display"
}

e2e_setup() {
    E2E_PROGRAM="$(readlink -f "$1")"
    [[ -x "$E2E_PROGRAM" ]] || e2e_fail "no program at $1"
    E2E_DIR="$(mktemp -d)"
    mkdir -p "$E2E_DIR/home" "$E2E_DIR/config"
    trap e2e_cleanup EXIT
    local n
    n="$(e2e_free_display)"
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    E2E_DISPLAY=":$n"
    for _ in $(seq 1 100); do
        if [[ -e "/tmp/.X11-unix/X$n" ]] && DISPLAY="$E2E_DISPLAY" xdpyinfo >/dev/null 2>&1; then
            return
        fi
        sleep 0.05
    done
    e2e_fail "Xvfb did not start on $E2E_DISPLAY"
}

x() { DISPLAY="$E2E_DISPLAY" "$@"; }

# Starts the program with the fresh home, without waiting for anything. Arguments, if any, are a
# command that runs before it and execs it (so E2E_PID stays the program's), as in
# `e2e_launch bash -c 'ulimit -f 0 && exec "$@"' limited`.
e2e_launch() {
    HOME="$E2E_DIR/home" XDG_CONFIG_HOME="$E2E_DIR/config" XDG_RUNTIME_DIR="$E2E_DIR" \
        SDL_AUDIODRIVER=dummy DISPLAY="$E2E_DISPLAY" QT_QPA_PLATFORM=xcb \
        "$@" "$E2E_PROGRAM" >>"$E2E_DIR/program.log" 2>&1 &
    E2E_PID=$!
}

# Starts the program (as e2e_launch) and waits for its main window, which gets the focus.
e2e_start() {
    e2e_launch "$@"
    E2E_WID="$(x timeout 20 xdotool search --sync --onlyvisible --name '^Tembrolo$' | head -n 1)" ||
        e2e_fail "no main window"
    x xdotool windowfocus --sync "$E2E_WID"
    local geometry width height
    geometry="$(x xwininfo -id "$E2E_WID")"
    E2E_WIN_X="$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")"
    E2E_WIN_Y="$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")"
    width="$(awk '/Width:/ {print $2}' <<<"$geometry")"
    height="$(awk '/Height:/ {print $2}' <<<"$geometry")"
    [[ "$width" == 500 ]] || e2e_fail "window width $width, not 500"
    E2E_WIN_W=$width
    E2E_WIN_H=$height
    E2E_FIELD_X=$E2E_WIN_X
    E2E_FIELD_Y=$((E2E_WIN_Y + height - 300))
    sleep 0.5  # the first ticks
}

# Ends the program by its process id with SIGTERM (or the given signal) and waits for its exit,
# which saves the settings.
e2e_stop() {
    local signal="${1:-TERM}"
    kill -"$signal" "$E2E_PID"
    e2e_wait_exit
}

# Waits up to 5 s (or the given number of seconds) for the program's exit, which must be a clean one.
e2e_wait_exit() {
    for _ in $(seq 1 $((${1:-5} * 20))); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
            wait "$E2E_PID" || e2e_fail "the program exited with status $?"
            E2E_PID=""
            return
        fi
        sleep 0.05
    done
    e2e_fail "the program did not quit"
}

# Sets E2E_STATUS to a line of the program's /proc status ("SigCgt", "Threads"), empty once it has
# gone. No process is started, so that a loop of these can watch the first milliseconds of a start.
E2E_STATUS=""
e2e_status() {
    local key value
    E2E_STATUS=""
    while read -r key value; do
        if [[ "$key" == "$1:" ]]; then
            E2E_STATUS="$value"
            return
        fi
    done 2>/dev/null <"/proc/$E2E_PID/status" || true
}

# Whether the program (not the shell that is about to become it) has a handler for INT, HUP or
# TERM.
e2e_catches() {
    local name number program
    case "$1" in
        HUP) number=1 ;;
        INT) number=2 ;;
        TERM) number=15 ;;
        *) e2e_fail "e2e_catches: no signal $1" ;;
    esac
    read -r name 2>/dev/null <"/proc/$E2E_PID/comm" || return 1
    program="${E2E_PROGRAM##*/}"
    [[ "$name" == "${program:0:15}" ]] || return 1
    e2e_status SigCgt
    [[ -n "$E2E_STATUS" ]] && (((16#$E2E_STATUS >> (number - 1)) & 1))
}

e2e_key() { x xdotool key --clearmodifiers "$@"; }

# Whether the window manager is told that window $1 belongs to the main window (WM_TRANSIENT_FOR),
# so that it is kept above the main window and can't be minimised away from it.
e2e_belongs_to_main() {
    [[ "$(x xprop -id "$1" WM_TRANSIENT_FOR)" == *" $(printf '0x%x' "$E2E_WID")" ]]
}

e2e_shot() { x import -window root "$1"; }

# The colour (six hex digits) of a pixel of a screenshot, in field coordinates.
e2e_field_pixel() {
    convert "$1" -format "%[hex:u.p{$((E2E_FIELD_X + $2)),$((E2E_FIELD_Y + $3))}]" info:
}

# A part of a screenshot in field coordinates: file, x, y, width, height, output.
e2e_field_crop() {
    convert "$1" -crop "$4x$5+$((E2E_FIELD_X + $2))+$((E2E_FIELD_Y + $3))" +repage "$6"
}

# How many pixels two pictures of equal size differ in.
e2e_diff_count() {
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}' || true
}

# How many pixels of a part of the field hold exactly the given colour.
e2e_count_colour() {
    local crop="$E2E_DIR/count.png"
    e2e_field_crop "$1" "$2" "$3" "$4" "$5" "$crop"
    convert "$crop" -fill black +opaque "#$6" -fill white -opaque "#$6" -format '%[fx:int(mean*w*h+0.5)]' info:
}

# The bytes of the preferences file, as text.
e2e_prefs() { cat "$E2E_DIR/config/Tembroloの設定"; }

# Opens the Game menu from the keyboard's point of view: a click on its title in the bar.
e2e_open_game_menu() {
    # Without --sync: it would wait for a motion that never comes when the pointer is there.
    x xdotool mousemove $((E2E_WIN_X + 117)) $((E2E_WIN_Y + 10))
    sleep 0.1
    x xdotool click 1
    sleep 0.4
}

# The leftmost field column of a part of the field that holds the given colour; -1 when none.
e2e_leftmost_colour() {
    if (( $(e2e_count_colour "$@") == 0 )); then
        echo -1
        return
    fi
    local page
    page="$(convert "$1" -crop "$4x$5+$((E2E_FIELD_X + $2))+$((E2E_FIELD_Y + $3))" \
        -fill black +opaque "#$6" -fill white -opaque "#$6" -trim -format '%X' info:)"
    echo $((${page#+} - E2E_FIELD_X))
}
