#!/usr/bin/env bash
# Fault injection on the real program: the writer's work survives SIGKILL.
#
#  1. Typing: a known text is typed at a steady pace into a section field and
#     the program is killed at a random moment; started again, it offers the
#     work, which is restored and saved with Ctrl+S. In every run the text is
#     a prefix of what was typed (nothing corrupted) that lacks at most what
#     was typed in the last 2 seconds before the kill. Each run goes on from
#     the work the previous one restored.
#  2. Saving: in a build of the program whose every write is slow
#     (SLOW_PROGRAM, see slowwrites.cpp), Ctrl+S is pressed and it is killed
#     at a random moment after the save's temporary file appeared: the
#     document file is then the old one or the new one, whole.
#  3. The recovery copy: likewise, killed while the copy is being rewritten:
#     the copy on the disk is the one before or the new one, whole, and it
#     restores.
#
# The moments of the kills are drawn at random; the run prints its seed, and
# RECOVERY_SEED=<seed> draws the same moments again.
#
# Usage: recovery.sh PROGRAM SLOW_PROGRAM HELPER ARTIFACT_DIR [TYPING_RUNS [SAVE_RUNS [COPY_RUNS]]]
source "$(dirname "$0")/lib.sh"
export LC_ALL=C.UTF-8 # the typed text is cut into characters, not bytes
usage="usage: $0 PROGRAM SLOW_PROGRAM HELPER ARTIFACT_DIR [TYPING_RUNS [SAVE_RUNS [COPY_RUNS]]]"
[[ $# -ge 4 ]] || e2e_fail "$usage"
program=$(realpath "$1")
slow_program=$(realpath "$2")
helper=$(realpath "$3")
typing_runs=${5:-20}
save_runs=${6:-3}
copy_runs=${7:-3}
slow_ms=1000 # how long the slow program takes for a write

e2e_setup "$4"
seed=${RECOVERY_SEED:-$((SRANDOM % 1000000))}
RANDOM=$seed
e2e_log "seed $seed (RECOVERY_SEED=$seed repeats these kill moments)"
state=$XDG_STATE_HOME/vinkring-artikel
work=$E2E_TMP/work
mkdir -p "$work"
doc=$work/artikel.VKV
lost_allowed_us=2000000 # the last 2 seconds of typing

e2e_read_layout "$helper"
field=txtInleiding
((page[$field] == 1)) || e2e_fail "$field is not on the second page"

# An empty document to start from: 27 field markers and CR LF.
{
    for ((i = 0; i < 27; i++)); do printf '<vbcrlf>'; done
    printf '\r\n'
} >"$doc"

now_us() {
    local t=$EPOCHREALTIME
    echo "${t/./}"
}

# Kills the program at once, as a crash or a power cut ends it.
crash() {
    kill -KILL "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=
}

_offer_box() {
    offer=$(xdotool search --onlyvisible --name "^${E2E_CAPTION} Melding\$" 2>/dev/null | head -n1)
    [[ -n $offer ]]
}

_no_offer_box() {
    ! _offer_box
}

# answer_offer KEY: waits for the question about left-over work and answers
# it: Return is Ja (restore), n is Nee (throw away).
answer_offer() {
    e2e_wait_for 15 _offer_box || e2e_fail "the program did not offer the work of the killed run"
    xdotool windowfocus --sync "$offer"
    xdotool key "$1"
    e2e_wait_for 10 _no_offer_box || e2e_fail "the question did not go away"
}

copies() {
    find "$state" -maxdepth 1 -name '*.herstel' 2>/dev/null | sort
}

# go_to_field: the second page, the field, the end of its text.
go_to_field() {
    e2e_wait_painted
    local counter
    counter=$(e2e_counter_sum)
    e2e_click_next
    e2e_wait_counter_change "$counter"
    e2e_click $((x[$field] + w[$field] / 2)) $((y[$field] + h[$field] / 2))
    xdotool key ctrl+End
}

# field_of FILE OUT: the field's text in a document file or a recovery copy.
field_of() {
    "$helper" field "$1" "$field" "$2" >/dev/null 2>&1
}

_saved_since() {
    [[ $(stat -c '%i %y' "$doc") != "$1" ]]
}

# save_and_read OUT: Ctrl+S writes the work to its document file; OUT gets
# the field's text from that file.
save_and_read() {
    local before
    before=$(stat -c '%i %y' "$doc")
    xdotool key ctrl+s
    e2e_wait_for 15 _saved_since "$before" || e2e_fail "Ctrl+S did not write $doc"
    field_of "$doc" "$1" || e2e_fail "$doc is not a whole document after Ctrl+S"
}

# The pid's open temporary (unnamed) file in folder: a write under way.
_writing_in() {
    ls -l "/proc/$E2E_APP_PID/fd" 2>/dev/null | grep -qF -- "-> $1/#"
}

# A random pause of 0 to $1 milliseconds.
random_pause() {
    local ms=$((RANDOM % $1))
    sleep "$((ms / 1000)).$(printf '%03d' $((ms % 1000)))"
}

# ---------------------------------------------------------------- typing

# The text typed: Dutch words, letters of their own keys, punctuation and
# Enter (as "|").
source_text='De zebravis leeft in scholen, café en naïef; één ë.|Hij eet graag: muggenlarven & vlokken!|'
char_bytes=()
for ((i = 0; i < ${#source_text}; i++)); do
    char_bytes+=("$(printf '%s' "${source_text:i:1}" | wc -c)")
done
next_char=0
expected=$E2E_TMP/expected.txt # the text the field should hold, LF line ends
: >"$expected"

# type_for SECONDS_US: types one character every 50 ms until the time is up,
# appending to $expected and recording when each was typed and how many
# bytes the text then had.
type_for() {
    local until=$(($(now_us) + $1)) c i bytes
    bytes=$(stat -c %s "$expected")
    sent_bytes=()
    sent_at=()
    while (($(now_us) < until)); do
        i=$((next_char % ${#source_text}))
        c=${source_text:i:1}
        next_char=$((next_char + 1))
        if [[ $c == '|' ]]; then
            xdotool key Return
            printf '\n' >>"$expected"
        else
            xdotool type -- "$c"
            printf '%s' "$c" >>"$expected"
        fi
        sent_at+=("$(now_us)")
        bytes=$((bytes + char_bytes[i]))
        sent_bytes+=("$bytes")
        sleep 0.05
    done
}

e2e_start_app "$program" "$doc"
go_to_field
for ((run = 1; run <= typing_runs; run++)); do
    saved_bytes=$(stat -c %s "$expected")
    type_for $((300000 + RANDOM % 2700 * 1000))
    killed_at=$(now_us)
    crash
    typed=${#sent_at[@]}

    # What must be there: everything typed up to 2 seconds before the kill.
    must_bytes=$saved_bytes
    for ((i = 0; i < typed; i++)); do
        ((sent_at[i] <= killed_at - lost_allowed_us)) && must_bytes=${sent_bytes[i]}
    done

    found=$(copies)
    if [[ -n $found ]]; then
        (($(wc -l <<<"$found") == 1)) || e2e_fail "run $run: more than one recovery copy: $found"
        field_of "$found" "$E2E_TMP/copy.txt" || e2e_fail "run $run: the recovery copy is not whole"
        e2e_start_app "$program"
        answer_offer Return
    else
        e2e_start_app "$program" "$doc"
    fi
    e2e_alive
    save_and_read "$E2E_TMP/restored.txt"
    restored_bytes=$(stat -c %s "$E2E_TMP/restored.txt")
    if ! cmp -s -n "$restored_bytes" "$E2E_TMP/restored.txt" "$expected" ||
        ((restored_bytes > $(stat -c %s "$expected"))); then
        cp "$E2E_TMP/restored.txt" "$expected" "$E2E_ARTIFACTS/"
        e2e_fail "run $run: the restored text is not what was typed"
    fi
    if ((restored_bytes < must_bytes)); then
        cp "$E2E_TMP/restored.txt" "$expected" "$E2E_ARTIFACTS/"
        e2e_fail "run $run: $((must_bytes - restored_bytes)) bytes typed more than 2 s before the kill are missing"
    fi
    e2e_log "run $run: $typed characters typed, killed; restored $restored_bytes of $(stat -c %s "$expected") bytes (at least $must_bytes needed)"
    # The next run goes on from what was restored.
    cp "$E2E_TMP/restored.txt" "$expected"
    go_to_field
done
crash

# ---------------------------------------------------------------- saving

declare -A outcomes=([old]=0 [new]=0)
for ((run = 1; run <= save_runs; run++)); do
    e2e_start_app "$slow_program" "$doc"
    [[ -z $(copies) ]] || answer_offer n
    field_of "$doc" "$E2E_TMP/old.txt" || e2e_fail "save $run: $doc is not whole to begin with"
    go_to_field
    word="Bewaard$run "
    xdotool type --delay 20 -- "$word"
    { cat "$E2E_TMP/old.txt"; printf '%s' "$word"; } >"$E2E_TMP/new.txt"
    xdotool key ctrl+s
    e2e_wait_for 10 _writing_in "$work" || e2e_fail "save $run: no save under way"
    random_pause $((slow_ms * 3 / 2))
    crash
    field_of "$doc" "$E2E_TMP/after.txt" || e2e_fail "save $run: $doc is torn"
    if cmp -s "$E2E_TMP/after.txt" "$E2E_TMP/old.txt"; then
        outcome=old
    elif cmp -s "$E2E_TMP/after.txt" "$E2E_TMP/new.txt"; then
        outcome=new
    else
        cp "$E2E_TMP/after.txt" "$E2E_TMP/old.txt" "$E2E_TMP/new.txt" "$E2E_ARTIFACTS/"
        e2e_fail "save $run: $doc is neither the old nor the new document"
    fi
    outcomes[$outcome]=$((outcomes[$outcome] + 1))
    e2e_log "save $run: killed while saving; the file is the $outcome one"
done
e2e_log "killed during a save: ${outcomes[old]} times the old file, ${outcomes[new]} times the new one"

# ---------------------------------------------------------------- the copy

for ((run = 1; run <= copy_runs; run++)); do
    e2e_start_app "$slow_program" "$doc"
    [[ -z $(copies) ]] || answer_offer n
    field_of "$doc" "$E2E_TMP/old.txt" || e2e_fail "copy $run: $doc is not whole"
    go_to_field
    first="Eerst$run "
    xdotool type --delay 20 -- "$first"
    { cat "$E2E_TMP/old.txt"; printf '%s' "$first"; } >"$E2E_TMP/first.txt"
    # The first copy is on the disk ...
    _first_copy() {
        local c
        c=$(copies)
        [[ -n $c ]] && field_of "$c" "$E2E_TMP/copy.txt" && cmp -s "$E2E_TMP/copy.txt" "$E2E_TMP/first.txt"
    }
    e2e_wait_for 15 _first_copy || e2e_fail "copy $run: no recovery copy of the typing"
    # ... and is being written anew when the program is killed.
    second="dan$run"
    xdotool type --delay 20 -- "$second"
    { cat "$E2E_TMP/first.txt"; printf '%s' "$second"; } >"$E2E_TMP/second.txt"
    e2e_wait_for 10 _writing_in "$state" || e2e_fail "copy $run: the copy was not written anew"
    random_pause $((slow_ms * 3 / 2))
    crash
    found=$(copies)
    (($(wc -l <<<"$found") == 1)) || e2e_fail "copy $run: not one recovery copy: $found"
    field_of "$found" "$E2E_TMP/copy.txt" || e2e_fail "copy $run: the recovery copy is torn"
    if cmp -s "$E2E_TMP/copy.txt" "$E2E_TMP/first.txt"; then
        outcome=old
    elif cmp -s "$E2E_TMP/copy.txt" "$E2E_TMP/second.txt"; then
        outcome=new
    else
        cp "$E2E_TMP/copy.txt" "$E2E_TMP/first.txt" "$E2E_TMP/second.txt" "$E2E_ARTIFACTS/"
        e2e_fail "copy $run: the recovery copy is neither the old nor the new one"
    fi

    # Restored at normal speed, it is what the window gets back.
    e2e_start_app "$program"
    answer_offer Return
    save_and_read "$E2E_TMP/restored.txt"
    cmp -s "$E2E_TMP/restored.txt" "$E2E_TMP/copy.txt" || e2e_fail "copy $run: restored work differs from the copy"
    crash
    e2e_log "copy $run: killed while the copy was written; the copy is the $outcome one and restores"
done

e2e_log "PASS"
