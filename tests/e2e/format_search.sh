#!/usr/bin/env bash
# Formatting and finding in the real window: a word of the title made bold
# with Ctrl+B, a text on another page found from the title's page with
# Ctrl+H and replaced, the bar closed with Escape, the window's height
# following the bar's one row and two, and the article on the clipboard as
# the program's own generator writes it.
# Usage: format_search.sh PROGRAM HELPER ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 3 ]] || e2e_fail "usage: $0 PROGRAM HELPER ARTIFACT_DIR"
program=$(realpath "$1")
helper=$2

e2e_setup "$3"

e2e_read_layout "$helper"
click_control() {
    [[ -n ${x[$1]:-} ]] || e2e_fail "no control $1 in the layout"
    e2e_click $((x[$1] + w[$1] / 2)) $((y[$1] + h[$1] / 2))
}
window_height() { xwininfo -id "$E2E_WIN" | awk '/^  Height:/ {print $2}'; }
height_is() { [[ $(window_height) == "$1" ]]; }
height_above() { (($(window_height) > $1)); }

e2e_start_app "$program"
e2e_wait_painted
counter=$(e2e_counter_sum)
height=$(window_height)

# The last word of the title, selected with Ctrl+Shift+Left, made bold.
xdotool key alt+t
xdotool type --delay 8 -- "Mijn guppy"
xdotool key ctrl+shift+Left ctrl+b

# A text on page 1.
e2e_click_next
e2e_wait_counter_change "$counter"
counter=$(e2e_counter_sum)
click_control txtInleiding
xdotool type --delay 8 -- "Een zebravis in het aquarium."
e2e_click_previous
e2e_wait_counter_change "$counter"
counter=$(e2e_counter_sum)

# From the title: Ctrl+H, the text, its replacement, Enter to find it (on
# page 1, which the window shows), Enter to replace it.
xdotool key alt+t ctrl+h
e2e_wait_for 10 height_above "$height" || e2e_fail "the search bar did not open below the pages"
xdotool type --delay 8 -- "zebravis"
xdotool key alt+r
xdotool type --delay 8 -- "guppy"
xdotool key Return
e2e_wait_counter_change "$counter"
import -silent -window "$E2E_WIN" "$E2E_ARTIFACTS/search-bar.png"
xdotool key Return
sleep 0.3
import -silent -window "$E2E_WIN" "$E2E_ARTIFACTS/replaced.png"
xdotool key Escape
e2e_wait_for 10 height_is "$height" || e2e_fail "Escape did not close the search bar"
e2e_log "found the text on page 1 from page 0 and replaced it"

# On page 2 the bar opens and closes, with one row (Ctrl+F) and two
# (Ctrl+H), also from one straight to the other: the window's height follows
# the bar's every time, and the bar never lies under "<", ">" and ">|".
e2e_click_next
e2e_wait_counter_change "$counter"
counter=$(e2e_counter_sum)
e2e_click_next
e2e_wait_counter_change "$counter"
buttons_band() { e2e_capture && e2e_band_sum "$(twips 7680)" "$(twips 375)"; }
xdotool key ctrl+h
e2e_wait_for 10 height_above "$height" || e2e_fail "Ctrl+H did not open the bar"
sleep 0.3
two_rows=$(window_height)
buttons=$(buttons_band)
xdotool key Escape
e2e_wait_for 10 height_is "$height" || e2e_fail "Escape did not close the two-row bar"
xdotool key ctrl+f
e2e_wait_for 10 height_above "$height" || e2e_fail "Ctrl+F did not open the bar"
sleep 0.3
one_row=$(window_height)
((one_row < two_rows)) || e2e_fail "the one-row bar ($one_row) is not lower than the two-row bar ($two_rows)"
xdotool key Escape
e2e_wait_for 10 height_is "$height" || e2e_fail "Escape did not close the one-row bar"
xdotool key ctrl+f
e2e_wait_for 10 height_is "$one_row" || e2e_fail "Ctrl+F opened the bar at $(window_height) pixels, not $one_row"
xdotool key ctrl+h
e2e_wait_for 10 height_is "$two_rows" ||
    e2e_fail "Ctrl+H with the one-row bar open left the window $(window_height) pixels high, not $two_rows"
sleep 0.3
[[ $(buttons_band) == "$buttons" ]] || e2e_fail "the bar lies under \"<\", \">\" and \">|\""
import -silent -window "$E2E_WIN" "$E2E_ARTIFACTS/two-rows-again.png"
xdotool key ctrl+f
e2e_wait_for 10 height_is "$one_row" ||
    e2e_fail "Ctrl+F with the two-row bar open left the window $(window_height) pixels high, not $one_row"
xdotool key Escape
e2e_wait_for 10 height_is "$height" || e2e_fail "Escape did not close the bar"
e2e_log "the window's height followed the bar: $height, $one_row and $two_rows pixels"

e2e_click_last
"$helper" article forum "$E2E_TMP/expected-forum.txt" \
    "txtTitel=Mijn <b>guppy</b>" "txtInleiding=Een guppy in het aquarium."
click_control Command1.2
clipboard_holds_article() {
    xclip -selection clipboard -o >"$E2E_TMP/clipboard.txt" 2>/dev/null &&
        cmp -s "$E2E_TMP/clipboard.txt" "$E2E_TMP/expected-forum.txt"
}
if ! e2e_wait_for 10 clipboard_holds_article; then
    diff <(tr -d '\r' <"$E2E_TMP/expected-forum.txt") <(tr -d '\r' <"$E2E_TMP/clipboard.txt") >&2 || true
    e2e_fail "the clipboard does not hold the expected forum text"
fi
e2e_alive
e2e_log "PASS: the clipboard holds the bold word and the replaced text"
