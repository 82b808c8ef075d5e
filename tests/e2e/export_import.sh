#!/usr/bin/env bash
# Export and import in the real window: a forum text file is imported into
# an empty window through "Importeren uit forumtekst...", saved with Ctrl+S
# (which must ask for a name: the work has no file), then exported through
# "Exporteren..." as the suggested OpenDocument file and as a PDF named by
# the writer. The texts come from the program's own generator through the
# helper.
# Usage: export_import.sh PROGRAM HELPER ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 3 ]] || e2e_fail "usage: $0 PROGRAM HELPER ARTIFACT_DIR"
program=$(realpath "$1")
helper=$2

e2e_setup "$3"
work=$E2E_TMP/werk
mkdir -p "$work"

title='Zebravis <script>alert(1)</script>'
intro=$'Een <b>vette</b> vis & meer.\nTweede regel.'
"$helper" article forum "$work/zebravis.txt" txtTitel="$title" txtAuteur='Anneke Poëet' \
    txtInleiding="$intro" txtConclusie='Een fijne vis.' '--link=Soort, https://example.org/zebra'
[[ -s $work/zebravis.txt ]] || e2e_fail "the helper wrote no forum text"

# dialog TITLE: waits for a visible window of that title other than $skip;
# its id in $dialog.
_dialog_shown() {
    dialog=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "${skip:-none}" | head -n1)
    [[ -n $dialog ]]
}
_dialog_gone() {
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}
wait_dialog() {
    e2e_wait_for 15 _dialog_shown "$1" || e2e_fail "no window \"$1\" appeared"
    xdotool windowfocus --sync "$dialog"
}
# answer_file_dialog TITLE PATH: the name typed over the suggestion, then Enter.
answer_file_dialog() {
    wait_dialog "$1"
    import -silent -window "$dialog" "$E2E_ARTIFACTS/$(tr ' ' '-' <<<"$1").png"
    xdotool key ctrl+a
    xdotool type --delay 4 -- "$2"
    xdotool key Return
    e2e_wait_for 15 _dialog_gone "$1" || e2e_fail "the dialog \"$1\" did not close"
}
menu_item() {
    xdotool windowfocus --sync "$E2E_WIN"
    xdotool key alt+b
    sleep 0.3
    xdotool key "$1"
}

e2e_start_app "$program"
e2e_wait_painted

# Import: the question where the text is, then the file.
menu_item i
wait_dialog 'Forumtekst Importeren'
question=$dialog
e2e_capture
import -silent -window "$question" "$E2E_ARTIFACTS/import-question.png"
xdotool key alt+u
# The empty work, the menu keys pressed on it, asks nothing before the import.
skip=$question answer_file_dialog 'Forumtekst Importeren' "$work/zebravis.txt"
_imported() { [[ $(xdotool getwindowname "$E2E_WIN") == "*$E2E_CAPTION" ]]; }
e2e_wait_for 10 _imported || e2e_fail "the window is captioned \"$(xdotool getwindowname "$E2E_WIN")\" after the import"
e2e_log "imported $work/zebravis.txt"

# Unsaved and without a file: Ctrl+S asks for a name; typed without
# extension, it gets the document file's.
xdotool windowfocus --sync "$E2E_WIN"
xdotool key ctrl+s
answer_file_dialog 'Bestand Bewaren' "$work/zebravis"
_file_there() { [[ -s $1 ]]; }
e2e_wait_for 10 _file_there "$work/zebravis.VKV" || e2e_fail "Ctrl+S wrote no zebravis.VKV: $(ls "$work")"
_saved() { [[ $(xdotool getwindowname "$E2E_WIN") == "zebravis.VKV - $E2E_CAPTION" ]]; }
e2e_wait_for 10 _saved || e2e_fail "the window is captioned \"$(xdotool getwindowname "$E2E_WIN")\" after the save"
"$helper" field "$work/zebravis.VKV" txtTitel "$E2E_TMP/title" >/dev/null
[[ $(cat "$E2E_TMP/title") == "$title" ]] || e2e_fail "the imported title is \"$(cat "$E2E_TMP/title")\""
"$helper" field "$work/zebravis.VKV" txtInleiding "$E2E_TMP/intro" >/dev/null
[[ $(cat "$E2E_TMP/intro") == "$intro" ]] || e2e_fail "the imported introduction is \"$(cat "$E2E_TMP/intro")\""
e2e_log "the imported article was saved as a new document"

# Export: the suggestion is the document's name as OpenDocument text, in its folder.
menu_item e
wait_dialog 'Artikel Exporteren'
import -silent -window "$dialog" "$E2E_ARTIFACTS/export-dialog.png"
xdotool key Return
e2e_wait_for 15 _file_there "$work/zebravis.odt" || e2e_fail "the suggested export zebravis.odt was not written"
unzip -p "$work/zebravis.odt" content.xml | grep -qF '<text:h text:style-name="Title" text:outline-level="1">Zebravis &lt;script&gt;' ||
    e2e_fail "zebravis.odt does not start with the title as a heading"

# A PDF, by the name's extension.
menu_item e
answer_file_dialog 'Artikel Exporteren' "$work/tijdschrift.pdf"
e2e_wait_for 15 _file_there "$work/tijdschrift.pdf" || e2e_fail "tijdschrift.pdf was not written"
pdftotext "$work/tijdschrift.pdf" - | grep -qF 'Tweede regel.' || e2e_fail "the PDF lacks the introduction"
cp "$work"/zebravis.odt "$work"/tijdschrift.pdf "$E2E_ARTIFACTS/"
e2e_capture
e2e_screenshot after-export
e2e_alive
e2e_log "PASS: screenshots and exports in $E2E_ARTIFACTS"
