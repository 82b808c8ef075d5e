#!/usr/bin/env bash
# Ctrl+S pressed as a person presses it, the keys let go while the question
# about characters the file cannot hold is up: one press, one question, one
# save.
# Usage: save_once.sh PROGRAM ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
app=$1
e2e_setup "$2"

# A Windows-1252 file with an empty title; the title pasted into it holds
# characters that file cannot (a UTF-8 file would stay UTF-8 without asking).
doc=$E2E_TMP/lodz.vkv
{
    for _ in $(seq 27); do printf '<vbcrlf>'; done
    printf '\r\n'
} >"$doc"

_boxes() {
    xdotool search --onlyvisible --name "^${E2E_CAPTION} Melding\$" 2>/dev/null || true
}
_one_box() { box=$(_boxes | head -n1); [[ -n $box ]]; }
_box_gone() { ! _boxes | grep -qx "$box"; }

e2e_start_app "$app" "$doc"
e2e_wait_painted
printf '\xc5\x81\xc3\xb3d\xc5\xba' | xclip -selection clipboard  # Łódź
xdotool key ctrl+v

xdotool keydown ctrl keydown s
e2e_wait_for 10 _one_box || e2e_fail "Ctrl+S asked nothing about the characters"
xdotool keyup s keyup ctrl
e2e_log "the question is up; the keys are let go"
xdotool windowfocus --sync "$box"
xdotool key Return  # the default: "Alle tekens houden (UTF-8)", which loses nothing
e2e_wait_for 10 _box_gone || e2e_fail "the question did not go away"

# A second question would come at once, as the same press travelled on.
if e2e_wait_for 2 _one_box; then
    e2e_fail "one press of Ctrl+S asked twice"
fi
# UTF-8 behind its byte-order mark, every character kept.
cmp -s <(head -c 18 "$doc") <(printf '\xef\xbb\xbf\xc5\x81\xc3\xb3d\xc5\xba<vbcrlf>') ||
    e2e_fail "the file does not hold the title in UTF-8: $(head -c 18 "$doc" | od -c | head -1)"
e2e_alive
e2e_log "one press, one question, one save"
