#!/usr/bin/env bash
# The Help window from the help menu: its Japanese texts drawn with real glyphs, Qt's own texts in
# Japanese too, scrolling and selecting by keys, its tabs, Ctrl+W, and a reopened window back on
# the first tab at the top.
source "$(dirname "$0")/lib.sh"
e2e_setup "$1"
e2e_start

HELP_TITLE='^Tembroloの説明$'
# Where the "help" menu's title sits in the main window's bar.
HELP_MENU_X=172
HELP_MENU_Y=10
# The text areas in the window's content: 6, 23, 388 x 342; 20 pixels at the right are the
# scroll bar, and a few at the edges are the frame and margin.
AREA_X=10
AREA_Y=27
AREA_W=360
AREA_H=330

open_help() {
    x xdotool mousemove --sync $((E2E_WIN_X + HELP_MENU_X)) $((E2E_WIN_Y + HELP_MENU_Y)) click 1
    sleep 0.4
    e2e_key Down Down Return
    HELP_WID="$(x timeout 10 xdotool search --sync --onlyvisible --name "$HELP_TITLE" | head -n 1)" ||
        e2e_fail "no Help window"
    local geometry
    geometry="$(x xwininfo -id "$HELP_WID")"
    HELP_X="$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")"
    HELP_Y="$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")"
    local width height
    width="$(awk '/Width:/ {print $2}' <<<"$geometry")"
    height="$(awk '/Height:/ {print $2}' <<<"$geometry")"
    [[ "$width" == 400 ]] || e2e_fail "Help window width $width"
    # The content is 370 high, under the window's menu bar.
    HELP_CONTENT_Y=$((HELP_Y + height - 370))
    x xdotool windowfocus --sync "$HELP_WID"
    sleep 0.5
}

# The text area's inside, cut from a screenshot.
area_crop() {
    convert "$1" -crop "${AREA_W}x${AREA_H}+$((HELP_X + AREA_X))+$((HELP_CONTENT_Y + AREA_Y))" \
        +repage "$2"
}

# A screenshot's text area against the first one's: how many pixels differ.
area_diff_from_first() {
    e2e_shot "$E2E_DIR/$1.png"
    area_crop "$E2E_DIR/$1.png" "$E2E_DIR/area_$1.png"
    e2e_diff_count "$E2E_DIR/area1.png" "$E2E_DIR/area_$1.png"
}

# The first line of text in a crop, cut into cells of one full-width character (12 pixels) from
# its first inked column: how many of its first 16 cells differ from each other. Glyphs differ;
# the empty boxes drawn for missing glyphs are all alike.
distinct_first_line_cells() {
    convert "$1" -colorspace Gray -threshold 60% -compress none pbm:- | python3 -c '
import sys
tokens = sys.stdin.read().split()
assert tokens[0] == "P1"
w, h = int(tokens[1]), int(tokens[2])
bits = "".join(tokens[3:])
rows = [bits[y * w:(y + 1) * w] for y in range(h)]
inked = [y for y in range(h) if "1" in rows[y]]
if not inked:
    print(0); sys.exit()
top = inked[0]
bottom = top
while bottom + 1 < h and "1" in rows[bottom + 1]:
    bottom += 1
band = rows[top:bottom + 1]
left = min(r.index("1") for r in band if "1" in r)
cells = set()
for k in range(16):
    x0 = left + 12 * k
    if x0 + 12 > w:
        break
    cell = tuple(r[x0:x0 + 12] for r in band)
    if "1" in "".join(cell):
        cells.add(cell)
print(len(cells))
'
}

open_help
first="$E2E_DIR/help1.png"
e2e_shot "$first"
area_crop "$first" "$E2E_DIR/area1.png"
white="$(convert "$E2E_DIR/area1.png" -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:)"
(( white > AREA_W * AREA_H * 7 / 10 )) || e2e_fail "the text area is not white: $white white pixels"
(( white < AREA_W * AREA_H - 2000 )) || e2e_fail "no text in the text area"
cells="$(distinct_first_line_cells "$E2E_DIR/area1.png")"
(( cells >= 10 )) || e2e_fail "the first line shows $cells different characters: missing glyphs?"

# Qt's own texts, such as the text's right-click menu, are Japanese like the game's.
grep -q '/qtbase_ja\.qm$' "/proc/$E2E_PID/maps" || e2e_fail "Qt's Japanese texts are not loaded"

# The keys scroll the text: Ctrl+End to its end, Ctrl+Home back to the top.
x xdotool mousemove --sync $((HELP_X + AREA_X + 100)) $((HELP_CONTENT_Y + AREA_Y + 100)) click 1
e2e_key ctrl+End
sleep 0.3
changed="$(area_diff_from_first end)"
(( changed > 1000 )) || e2e_fail "Ctrl+End did not scroll the text ($changed pixels differ)"
e2e_key ctrl+Home
sleep 0.3
changed="$(area_diff_from_first home)"
(( changed < 50 )) || e2e_fail "Ctrl+Home did not bring the text back to its top ($changed)"

# Another tab shows another text.
x xdotool mousemove --sync $((HELP_X + 147)) $((HELP_CONTENT_Y + 12)) click 1
sleep 0.4
changed="$(area_diff_from_first help4)"
(( changed > 1000 )) || e2e_fail "the history tab shows the same text ($changed pixels differ)"

# In it, the plain keys scroll the view at once, wherever a click left the cursor: three Downs as
# far as a notch of the mouse wheel (three lines), then a PageDown as far as a click in the scroll
# bar's track below its handle (a page, as far as the text goes). Shift+Down then selects the line
# at the top of the view, and the view stays.
area_shot() {
    sleep 0.3
    e2e_shot "$E2E_DIR/$1.png"
    area_crop "$E2E_DIR/$1.png" "$E2E_DIR/area_$1.png"
}
# Fails with the message $5 unless two shots' areas differ in more ('>') or fewer ('<') pixels
# than $4; $6 cuts as many rows off the top of both first.
expect_areas() {
    local top="${6:-0}" name changed
    for name in "$1" "$2"; do
        convert "$E2E_DIR/area_$name.png" -crop "${AREA_W}x$((AREA_H - top))+0+$top" +repage \
            "$E2E_DIR/cut_$name.png"
    done
    changed="$(e2e_diff_count "$E2E_DIR/cut_$1.png" "$E2E_DIR/cut_$2.png")"
    (( changed $3 $4 )) || e2e_fail "$5 ($changed pixels differ)"
}
click_in_text() {
    x xdotool mousemove --sync $((HELP_X + AREA_X + 100)) $((HELP_CONTENT_Y + AREA_Y + 160)) click 1
}
wheel_notch_from_top() {
    e2e_key ctrl+Home
    x xdotool click 5
}
click_in_text
e2e_key Down Down Down
area_shot down3
wheel_notch_from_top
area_shot wheel
expect_areas help4 down3 '>' 1000 "three Downs did not scroll the text"
expect_areas wheel down3 '<' 50 "three Downs did not scroll three lines"

e2e_key ctrl+Home
click_in_text
e2e_key Down Down Down Next
area_shot page
e2e_key shift+Down
area_shot selected
wheel_notch_from_top
# The scroll bar lies along the area's right edge; near its bottom is the track below the handle.
x xdotool mousemove --sync $((HELP_X + 384)) $((HELP_CONTENT_Y + 325)) click 1
area_shot track
expect_areas down3 page '>' 1000 "PageDown did not scroll the text"
expect_areas track page '<' 50 "PageDown did not scroll a page"
expect_areas page selected '>' 1000 "Shift+Down selected nothing in view"
expect_areas page selected '<' 50 "Shift+Down did not select the top line in place" 40

# Ctrl+W closes it while it is in front; the game goes on.
e2e_key ctrl+w
sleep 0.5
if x xdotool search --onlyvisible --name "$HELP_TITLE" >/dev/null 2>&1; then
    e2e_fail "Ctrl+W left the Help window open"
fi
kill -0 "$E2E_PID" || e2e_fail "the program ended with the Help window"

# Opened again, it is back on the first tab at the top of its text.
x xdotool windowfocus --sync "$E2E_WID"
open_help
changed="$(area_diff_from_first again)"
(( changed < 50 )) || e2e_fail "the reopened window does not start as the first did ($changed)"

# Ctrl+W with the main window in front leaves Help open.
x xdotool windowfocus --sync "$E2E_WID"
sleep 0.3
e2e_key ctrl+w
sleep 0.5
x xdotool search --onlyvisible --name "$HELP_TITLE" >/dev/null 2>&1 ||
    e2e_fail "Ctrl+W in the main window closed the Help window"

e2e_stop
e2e_log "ok"
