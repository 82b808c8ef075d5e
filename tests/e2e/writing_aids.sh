#!/usr/bin/env bash
# Spelling as you type and the live view in the real window: a misspelt word
# typed into a section field is underlined in red, and not with the menu item
# "Spelling tijdens typen" off; its context menu corrects it (Ctrl+Z undoes
# that); the live view opened from the menu "Beeld" shows what is typed.
# Usage: writing_aids.sh PROGRAM HELPER ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 3 ]] || e2e_fail "usage: $0 PROGRAM HELPER ARTIFACT_DIR"
program=$(realpath "$1")
helper=$2

e2e_setup "$3"

e2e_read_layout "$helper"
[[ -n ${x[txtInleiding]:-} ]] || e2e_fail "no txtInleiding in the layout"

# red_pixels FILE WIDTH LEFT TOP W H: the reddish pixels (the spelling
# underline, a thin line blended into the white) in that rectangle of a raw
# RGB capture WIDTH pixels wide.
red_pixels() {
    dd if="$1" bs=$(($2 * 3)) skip="$4" count="$6" status=none |
        od -An -v -tu1 -w$(($2 * 3)) |
        awk -v from=$(($3 * 3 + 1)) -v to=$((($3 + $5) * 3)) \
            '{ for (i = from; i <= to; i += 3) if ($i > 150 && $i - $(i + 1) > 60 && $i - $(i + 2) > 60) n++ } END { print n + 0 }'
}

# Red pixels in the field txtInleiding of a fresh capture of the window.
field_red() {
    e2e_capture
    red_pixels "$E2E_TMP/shot.rgb" "$E2E_CLIENT_WIDTH" "${x[txtInleiding]}" $((y[txtInleiding] + E2E_MENU)) \
        "${w[txtInleiding]}" "${h[txtInleiding]}"
}
field_underlined() { (($(field_red) > 8)); }
field_plain() { (($(field_red) == 0)); }

# The field's whole text, through the clipboard.
field_text() {
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -selection clipboard -o 2>/dev/null
}
field_text_is() { [[ $(field_text) == "$1" ]]; }

focus_field() {
    xdotool windowfocus --sync "$E2E_WIN"
    e2e_click $((x[txtInleiding] + w[txtInleiding] / 2)) $((y[txtInleiding] + h[txtInleiding] / 2))
}

e2e_start_app "$program"
e2e_wait_painted
counter=$(e2e_counter_sum)
e2e_click_next
e2e_wait_counter_change "$counter"

# The misspelt word first, where the text cursor can be put before it.
focus_field
xdotool type --delay 8 -- "aquarim is een mooie vis"
e2e_wait_for 20 field_underlined || { e2e_screenshot not-underlined; e2e_fail "the misspelt word was not underlined ($(field_red) red pixels)"; }
e2e_screenshot underlined
e2e_log "the misspelt word is underlined ($(field_red) red pixels)"

# The menu item off and on again.
xdotool key alt+d s
e2e_wait_for 10 field_plain || e2e_fail "with \"Spelling tijdens typen\" off the underline stayed"
e2e_screenshot spelling-off
xdotool key alt+d s
e2e_wait_for 10 field_underlined || e2e_fail "with \"Spelling tijdens typen\" on again there was no underline"
e2e_log "\"Spelling tijdens typen\" turns the underline off and on"

# The context menu on the word. Its suggestions come a moment after the
# menu, in place of a greyed "Suggesties zoeken...": once its first item is
# written in black, they are there.
find_popup() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        [[ $id != "$E2E_WIN" ]] && popup=$id && return 0
    done
    return 1
}
suggestions_shown() {
    import -silent -window "$popup" -depth 8 rgb:"$E2E_TMP/popup.rgb" || return 1
    local width
    width=$(xwininfo -id "$popup" | awk '/^  Width:/ {print $2}')
    local dark
    dark=$(dd if="$E2E_TMP/popup.rgb" bs=$((width * 3)) count=20 status=none | od -An -v -tu1 -w3 |
        awk '$1 < 60 && $2 < 60 && $3 < 60 { n++ } END { print n + 0 }')
    ((dark > 20))
}
focus_field
xdotool key ctrl+Home Menu
e2e_wait_for 10 find_popup || e2e_fail "no context menu"
e2e_wait_for 15 suggestions_shown || {
    import -silent -window root "$E2E_ARTIFACTS/no-suggestions.png"
    e2e_fail "no suggestions came into the context menu"
}
import -silent -window root "$E2E_ARTIFACTS/context-menu.png"
xdotool key Down Return
e2e_wait_for 10 field_plain || e2e_fail "the underline stayed after the correction"
e2e_screenshot corrected
field_text_is "aquarium is een mooie vis" || e2e_fail "the field holds \"$(field_text)\" after the correction"
xdotool key ctrl+z
e2e_wait_for 10 field_text_is "aquarim is een mooie vis" || e2e_fail "Ctrl+Z did not undo the correction"
xdotool key ctrl+shift+z
e2e_wait_for 10 field_text_is "aquarium is een mooie vis" || e2e_fail "Ctrl+Shift+Z did not redo the correction"
e2e_log "the context menu corrected the word; Ctrl+Z undid it"

# The live view: it shows what is typed. Typed text changes its pixels (in a
# narrow view it may push as much dark text out of sight as it adds).
find_view() { view=$(xdotool search --onlyvisible --name '^Voorbeeld van het artikel$' 2>/dev/null | head -n1) && [[ -n $view ]]; }
view_changed() {
    import -silent -window "$view" -depth 8 "$E2E_TMP/view-now.png" || return 1
    local changed
    changed=$(compare -metric AE "$E2E_TMP/view-before.png" "$E2E_TMP/view-now.png" null: 2>&1) || true
    ((${changed%%.*} > 500))
}
xdotool windowfocus --sync "$E2E_WIN"
xdotool key alt+d v
e2e_wait_for 10 find_view || e2e_fail "no window \"Voorbeeld van het artikel\""
import -silent -window "$view" -depth 8 "$E2E_TMP/view-before.png"
focus_field
xdotool key ctrl+End Return
xdotool type --delay 8 -- "WWWWWWWWWW MMMMMMMMMM WWWWWWWWWW MMMMMMMMMM"
e2e_wait_for 10 view_changed || e2e_fail "the typed text did not appear in the view"
import -silent -window "$view" "$E2E_ARTIFACTS/view.png"
e2e_log "the live view shows the typed text"

e2e_alive
e2e_log "PASS: screenshots in $E2E_ARTIFACTS"
