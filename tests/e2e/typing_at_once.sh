#!/usr/bin/env bash
# Typing at once: right after the window appears (while the rest of it is
# still being built) and right after "Nieuw" on the last page, the keys land
# in the title and, after Tab, in the author. Ctrl+S writes each article.
# Usage: typing_at_once.sh PROGRAM HELPER ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 3 ]] || e2e_fail "usage: $0 PROGRAM HELPER ARTIFACT_DIR"
program=$(realpath "$1")
helper=$2
e2e_setup "$3"
work=$E2E_TMP/werk
mkdir -p "$work"

_dialog_shown() {
    dialog=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [[ -n $dialog ]]
}
_dialog_gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
_file_there() { [[ -s $1 ]]; }
# save_as NAME: Ctrl+S on a never-saved article, the name typed, Enter.
save_as() {
    xdotool windowfocus --sync "$E2E_WIN"
    xdotool key ctrl+s
    e2e_wait_for 15 _dialog_shown 'Bestand Bewaren' || e2e_fail "Ctrl+S showed no save dialog"
    xdotool windowfocus --sync "$dialog"
    xdotool key ctrl+a
    xdotool type --delay 4 -- "$work/$1"
    xdotool key Return
    e2e_wait_for 15 _dialog_gone 'Bestand Bewaren' || e2e_fail "the save dialog did not close"
    e2e_wait_for 10 _file_there "$work/$1.VKV" || e2e_fail "no $1.VKV was written: $(ls "$work")"
}
# expect_field FILE FIELD TEXT
expect_field() {
    "$helper" field "$1" "$2" "$E2E_TMP/field" >/dev/null
    [[ $(cat "$E2E_TMP/field") == "$3" ]] || e2e_fail "$2 in $(basename "$1") holds \"$(cat "$E2E_TMP/field")\", not \"$3\""
}

# No wait for the first paint: the keys come while the window is completed.
e2e_start_app "$program"
xdotool type --delay 10 'Honinggoerami'
xdotool key Tab
xdotool type --delay 10 'Anneke'
e2e_wait_painted
e2e_screenshot typed-at-start
save_as eerste
expect_field "$work/eerste.VKV" txtTitel 'Honinggoerami'
expect_field "$work/eerste.VKV" txtAuteur 'Anneke'
expect_field "$work/eerste.VKV" txtVindPLaats ''
e2e_log "typed at start: in the title and the author"

# "Nieuw" on the last page: the first page, the focus in the title.
e2e_click_last
xdotool key alt+b
sleep 0.3
xdotool key n
xdotool type --delay 10 'Guppy'
xdotool key Tab
xdotool type --delay 10 'Piet'
e2e_screenshot typed-after-new
save_as tweede
expect_field "$work/tweede.VKV" txtTitel 'Guppy'
expect_field "$work/tweede.VKV" txtAuteur 'Piet'
e2e_log "typed after Nieuw: in the title and the author"
e2e_alive
e2e_log "PASS: screenshots in $E2E_ARTIFACTS"
