#!/usr/bin/env bash
# The writer's main road in the real window: type an article into the pages,
# add links on page 12, go to the last page, press "Klembord" and paste; then
# press "Preview in IE" with a recording browser. The expected texts come from
# the program's own generator through the helper.
# Usage: main_road.sh PROGRAM HELPER ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 3 ]] || e2e_fail "usage: $0 PROGRAM HELPER ARTIFACT_DIR"
program=$(realpath "$1")
helper=$2

e2e_setup "$3"

# A browser that only records how it was called.
browser_log=$E2E_TMP/browser.log
cat >"$E2E_TMP/browser" <<EOF
#!/bin/sh
{ echo call; for arg in "\$@"; do echo "arg \$arg"; done; } >>"$browser_log"
EOF
chmod +x "$E2E_TMP/browser"
export BROWSER=$E2E_TMP/browser

e2e_read_layout "$helper"

click_control() {
    [[ -n ${x[$1]:-} ]] || e2e_fail "no control $1 in the layout"
    e2e_click $((x[$1] + w[$1] / 2)) $((y[$1] + h[$1] / 2))
}

# Types a text; each line feed in it is a press of Enter.
type_text() {
    local lines line first=1
    mapfile -t lines <<<"$1"
    for line in "${lines[@]}"; do
        ((first)) || xdotool key Return
        first=0
        [[ -z $line ]] || xdotool type --delay 8 -- "$line"
    done
}

# The article, field by field in page order. Enter becomes CR LF.
fields=(
    txtInleiding $'Ik houd al jaren zebravissen.\nDit is mijn eerste artikel.'
    txtUitlegNaam $'Danio: naam van het geslacht.\nrerio: gestreept (Bengaals).'
    txtBeschrijver 'Hamilton, 1822'
    txtFamilie $'Familie: Cyprinidae\nOrde: Cypriniformes\nKlasse: Actinopterygii'
    txtTemperatuur '24 - 28 graden'
    txtUitKenmerken 'Blauwe & gouden strepen, <b>niet</b> vet.'
    txtBouw 'Slank en zijdelings afgeplat.'
    txtZiekten 'Weinig gevoelig.'
    txtGedragSoort 'Leeft in scholen; naïef is hij niet.'
    txtGedragVoedsel 'Gulzig.'
    txtVoedsel 'Vlokken, artemia en muggenlarven.'
    txtOpkweek $'Infusiediertjes,\n\ndaarna artemia.'
    txtConclusie 'Een ideale beginnersvis, één die je niet snel vergeet.'
)
title='Zebravis (Danio rerio)'
author='Jan Jansen & Anneke Poëet'
# Description and URL as typed; the list holds "description, URL".
links=(
    'Soortbeschrijving' 'https://www.example.org/vissen/zebravis.htm'
    '' 'kweek.htm'
    '  Ziekten ' ' https://www.example.org/ziekten?vis=danio&taal=nl  '
)

current=0
go_to_page() {
    while ((current < $1)); do
        e2e_capture
        e2e_screenshot "page-$(printf %02d $((current + 1)))"
        e2e_click_next
        e2e_wait_counter_change "$counter"
        counter=$(e2e_counter_sum)
        current=$((current + 1))
    done
}

e2e_start_app "$program"
e2e_wait_painted
counter=$(e2e_counter_sum)

# Page 0: Alt+T and Alt+N reach the title and the author.
xdotool key alt+t
type_text "$title"
xdotool key alt+n
type_text "$author"

expected_args=(txtTitel="$title" txtAuteur="$author")
for ((i = 0; i < ${#fields[@]}; i += 2)); do
    name=${fields[i]} text=${fields[i + 1]}
    [[ -n ${page[$name]:-} ]] || e2e_fail "no field $name in the layout"
    go_to_page "${page[$name]}"
    click_control "$name"
    xdotool key ctrl+a
    type_text "$text"
    expected_args+=("$name=$text")
done
e2e_log "typed the title, the author and $((${#fields[@]} / 2)) sections"

go_to_page "${page[txtURL]}"
for ((i = 0; i < ${#links[@]}; i += 2)); do
    click_control txtURL
    type_text "${links[i + 1]}"
    click_control txtLinkOMS
    type_text "${links[i]}"
    click_control Command2
    expected_args+=("--link=${links[i]}, ${links[i + 1]}")
done
e2e_log "added $((${#links[@]} / 2)) links"

go_to_page "${page[Command1.2]}"
e2e_capture
e2e_screenshot "page-$(printf %02d $((current + 1)))"

# "Klembord": the forum text, byte for byte.
"$helper" article forum "$E2E_TMP/expected-forum.txt" "${expected_args[@]}"
[[ -s $E2E_TMP/expected-forum.txt ]] || e2e_fail "the helper wrote no forum text"
click_control Command1.2
clipboard_holds_article() {
    xclip -selection clipboard -o >"$E2E_TMP/clipboard.txt" 2>/dev/null &&
        cmp -s "$E2E_TMP/clipboard.txt" "$E2E_TMP/expected-forum.txt"
}
if ! e2e_wait_for 10 clipboard_holds_article; then
    cp "$E2E_TMP/clipboard.txt" "$E2E_TMP/expected-forum.txt" "$E2E_ARTIFACTS/" 2>/dev/null || true
    diff <(tr -d '\r' <"$E2E_TMP/expected-forum.txt") <(tr -d '\r' <"$E2E_TMP/clipboard.txt") >&2 || true
    e2e_fail "the clipboard does not hold the expected forum text"
fi
e2e_log "clipboard holds the forum text ($(wc -c <"$E2E_TMP/expected-forum.txt") bytes)"

# "Preview in IE": PREVIEW.htm in the program's folder when that is the
# user's own (a build), or in the user's cache folder when the program is
# installed (a folder under /usr or /opt, or another user's) or its folder
# cannot be written.
program_dir=$(realpath "$(dirname "$program")")
if [[ -O $program_dir && -w $program_dir && $program_dir != /usr/* && $program_dir != /opt/* ]]; then
    preview=$program_dir/PREVIEW.htm
else
    preview=$XDG_CACHE_HOME/vinkring-artikel/PREVIEW.htm
fi
rm -f "$preview"
# The web page of the whole post, in UTF-8 declared in the page.
"$helper" article page "$E2E_TMP/expected.htm" "${expected_args[@]}"

click_control Command5
browser_called() {
    [[ -s $browser_log ]]
}
e2e_wait_for 10 browser_called || e2e_fail "the browser was not started"

# One round trip through the window, so that the preview command has ended
# before the calls are counted.
e2e_click_previous
e2e_wait_counter_change "$counter"
calls=$(grep -c '^call$' "$browser_log")
((calls == 1)) || e2e_fail "the browser was started $calls times"
mapfile -t args < <(sed -n 's/^arg //p' "$browser_log")
((${#args[@]} == 1)) || e2e_fail "the browser got ${#args[@]} arguments: ${args[*]}"
url=${args[0]}
[[ $url == file://* ]] || e2e_fail "the browser was given \"$url\", not a file URL"
path=${url#file://}
path=$(printf '%b' "${path//%/\\x}")
[[ $path == "$preview" ]] || e2e_fail "the browser was given $path, not $preview"
[[ -f $preview ]] || e2e_fail "$preview was not written"
cp "$preview" "$E2E_ARTIFACTS/PREVIEW.htm"
cmp -s "$preview" "$E2E_TMP/expected.htm" || {
    cmp "$preview" "$E2E_TMP/expected.htm" >&2 || true
    e2e_fail "$preview does not hold the expected web page"
}
e2e_log "the browser was started once on $url"

e2e_alive
e2e_log "PASS: screenshots in $E2E_ARTIFACTS"
