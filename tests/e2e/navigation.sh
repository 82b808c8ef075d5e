#!/usr/bin/env bash
# The real window in a private X server: its size, and the pages walked with
# ">", "<" and ">|". Saves a screenshot of every page.
# Usage: navigation.sh PROGRAM ARTIFACT_DIR
source "$(dirname "$0")/lib.sh"
[[ $# -eq 2 ]] || e2e_fail "usage: $0 PROGRAM ARTIFACT_DIR"

e2e_setup "$2"
e2e_start_app "$1"
e2e_wait_painted

# A window that grows from its designed size: the window manager is told
# that size as the least, no largest, and offered maximize (Motif hints:
# function bit 0x10, decoration bit 0x40).
hints=$(xprop -id "$E2E_WIN" WM_NORMAL_HINTS _MOTIF_WM_HINTS)
minimum=$(sed -n 's/.*program specified minimum size: //p' <<<"$hints")
maximum=$(sed -n 's/.*program specified maximum size: //p' <<<"$hints")
[[ $minimum == "$E2E_CLIENT_WIDTH by $((E2E_CLIENT_HEIGHT + E2E_MENU))" ]] || e2e_fail "the window's least size is not its designed one: $hints"
[[ -z $maximum ]] || e2e_fail "the window cannot grow: $hints"
IFS=', ' read -r _ motif_functions motif_decorations _ < <(sed -n 's/^_MOTIF_WM_HINTS.*= //p' <<<"$hints")
if [[ -n $motif_functions ]]; then
    (((motif_functions & 0x10) != 0 && (motif_decorations & 0x40) != 0)) || e2e_fail "the window offers no maximize: $hints"
fi

# The focus starts in the title; Shift+Tab takes it to ">", before the title
# in the Tab order, so that page 1 is seen without the title's caret.
xdotool key shift+Tab
e2e_wait_for 5 _e2e_counter_painted || e2e_fail "the window did not settle"
declare -a counter pages
counter[1]=$(e2e_counter_sum)
pages[1]=$(e2e_pages_sum)
e2e_screenshot page-01

# Thirteen times ">": every page in turn, each with a counter of its own.
for page in $(seq 2 14); do
    e2e_click_next
    e2e_wait_counter_change "${counter[page - 1]}"
    counter[page]=$(e2e_counter_sum)
    pages[page]=$(e2e_pages_sum)
    e2e_screenshot "page-$(printf %02d "$page")"
done
e2e_log "walked forward through 14 pages"

distinct=$(printf '%s\n' "${pages[@]}" | sort -u | wc -l)
((distinct == 14)) || e2e_fail "only $distinct of the 14 pages look different"
distinct=$(printf '%s\n' "${counter[@]}" | sort -u | wc -l)
((distinct == 14)) || e2e_fail "the counter showed only $distinct different texts on 14 pages"

# ">" is disabled on the last page: clicking it changes nothing, so the
# following "<" lands on page 13 as it was seen on the way forward.
e2e_click_next
e2e_click_previous
e2e_wait_counter_change "${counter[14]}"
[[ $(e2e_counter_sum) == "${counter[13]}" ]] || e2e_fail "\"<\" from the last page did not show page 13's counter"
[[ $(e2e_pages_sum) == "${pages[13]}" ]] || e2e_fail "\"<\" from the last page did not show page 13"
e2e_screenshot back-page-13

# ">|" from page 13 jumps to the last page.
e2e_click_last
e2e_wait_counter_change "${counter[13]}"
[[ $(e2e_counter_sum) == "${counter[14]}" ]] || e2e_fail "\">|\" did not show the last page's counter"
e2e_screenshot last-page-14

# "<" all the way back; every page looks as it did on the way forward.
for page in $(seq 13 -1 1); do
    e2e_click_previous
    e2e_wait_counter_change "${counter[page + 1]}"
    [[ $(e2e_counter_sum) == "${counter[page]}" ]] || e2e_fail "\"<\" did not show page $page's counter"
    [[ $(e2e_pages_sum) == "${pages[page]}" ]] || e2e_fail "page $page looks different on the way back"
done
e2e_log "walked back to the first page"

# "<" is disabled on the first page; ">|" still jumps to the last one, which
# also proves the window still answers.
e2e_click_previous
e2e_click_last
e2e_wait_counter_change "${counter[1]}"
[[ $(e2e_counter_sum) == "${counter[14]}" ]] || e2e_fail "\">|\" from the first page did not show the last page"
e2e_screenshot jump-page-14

e2e_alive
e2e_log "PASS: screenshots in $E2E_ARTIFACTS"
