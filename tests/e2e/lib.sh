# Shared by the end-to-end scripts: a private X server, the program in it,
# clicks at layout positions, screenshots and bounded waits.
# Source it; then call e2e_setup, e2e_start_app and the helpers below.

set -euo pipefail

E2E_CAPTION="Vinkring Artikel Template"
# The window's client area below the menu bar, in pixels at 96 dpi.
E2E_CLIENT_WIDTH=790
E2E_CLIENT_HEIGHT=541

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_log() {
    echo "[$(date +%H:%M:%S.%N | cut -c1-12)] $*"
}

# Twips (1440 to the inch) to pixels at 96 dpi: 15 twips to a pixel, rounded.
twips() {
    echo $((($1 + 7) / 15))
}

# Waits up to $1 seconds (polling every 0.05 s) until the command after it
# succeeds.
e2e_wait_for() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS <= deadline)) || return 1
        sleep 0.05
    done
}

_e2e_cleanup() {
    local rc=$?
    set +e
    if [[ -n ${E2E_APP_PID:-} ]] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
        kill "$E2E_APP_PID"
        e2e_wait_for 5 _e2e_gone "$E2E_APP_PID" || kill -KILL "$E2E_APP_PID"
        wait "$E2E_APP_PID" 2>/dev/null
    fi
    [[ -n ${E2E_MENU:-} ]] && _e2e_convert_screenshots
    if [[ -n ${E2E_XVFB_PID:-} ]]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    # A sanitizer build reports from inside the real program too.
    if [[ -n ${E2E_TMP:-} && -s $E2E_TMP/app.log ]] &&
        grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$E2E_TMP/app.log"; then
        echo "FAIL: the program reported a sanitizer error" >&2
        ((rc != 0)) || rc=1
    fi
    if ((rc != 0)) && [[ -n ${E2E_TMP:-} && -s $E2E_TMP/app.log ]]; then
        echo "--- program output" >&2
        cat "$E2E_TMP/app.log" >&2
    fi
    [[ -n ${E2E_TMP:-} ]] && rm -rf "$E2E_TMP"
    exit "$rc"
}

# A child that has exited stays a zombie until it is waited for.
_e2e_gone() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    [[ ${stat##*) } == Z* ]]
}

_e2e_display_known() {
    [[ -s $E2E_TMP/display ]]
}

# e2e_setup ARTIFACT_DIR: private temp folder, HOME and XDG folders, and an
# X server of its own on a free display.
e2e_setup() {
    E2E_ARTIFACTS=$1
    rm -rf "$E2E_ARTIFACTS"
    mkdir -p "$E2E_ARTIFACTS"
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/vinkring-e2e.XXXXXX")
    trap _e2e_cleanup EXIT
    trap 'exit 130' INT TERM

    export HOME=$E2E_TMP/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
    export XDG_STATE_HOME=$HOME/.local/state
    export XDG_RUNTIME_DIR=$E2E_TMP/runtime
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
    export NO_AT_BRIDGE=1

    # Xvfb picks a free display itself and writes its number to the fd.
    local fd
    exec {fd}>"$E2E_TMP/display"
    Xvfb -displayfd "$fd" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
        >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    exec {fd}>&-
    e2e_wait_for 10 _e2e_display_known || {
        cat "$E2E_TMP/xvfb.log" >&2
        e2e_fail "Xvfb did not start"
    }
    export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
    e2e_log "Xvfb on $DISPLAY"

    # Dutch letters on keys of their own. Otherwise xdotool maps a spare key
    # to each such letter and back again while the program is reading it,
    # and the program now and then sees the old meaning.
    xkbcomp "$DISPLAY" "$E2E_TMP/keymap.xkb" 2>/dev/null
    sed -i '/^xkb_symbols/a\
    key <I248> { [ ediaeresis, Ediaeresis ] };\
    key <I120> { [ eacute, Eacute ] };\
    key <FK24> { [ idiaeresis, Idiaeresis ] };' "$E2E_TMP/keymap.xkb"
    xkbcomp -w 0 "$E2E_TMP/keymap.xkb" "$DISPLAY" 2>/dev/null || e2e_fail "could not load the keyboard map"
}

_e2e_find_window() {
    # The caption, after the document's name and the unsaved mark if any.
    E2E_WIN=$(xdotool search --onlyvisible --name "^(\\*|.* - )?${E2E_CAPTION}\$" 2>/dev/null | head -n1)
    [[ -n $E2E_WIN ]]
}

# e2e_start_app PROGRAM [ARGUMENT...]: starts the program and waits for its
# window. Sets E2E_APP_PID, E2E_WIN and E2E_MENU (the menu bar height in pixels).
e2e_start_app() {
    QT_QPA_PLATFORM=xcb "$@" >>"$E2E_TMP/app.log" 2>&1 &
    E2E_APP_PID=$!
    e2e_wait_for 15 _e2e_find_window || e2e_fail "no window captioned \"$E2E_CAPTION\" appeared"
    e2e_log "window $E2E_WIN of process $E2E_APP_PID"

    local width height
    width=$(xwininfo -id "$E2E_WIN" | awk '/^  Width:/ {print $2}')
    height=$(xwininfo -id "$E2E_WIN" | awk '/^  Height:/ {print $2}')
    ((width == E2E_CLIENT_WIDTH)) || e2e_fail "window is $width pixels wide, not $E2E_CLIENT_WIDTH"
    E2E_MENU=$((height - E2E_CLIENT_HEIGHT))
    # The menu bar holds one line of text: more than nothing, less than a few lines.
    ((E2E_MENU >= 12 && E2E_MENU <= 60)) ||
        e2e_fail "window is $height pixels high: no room for a menu bar above a $E2E_CLIENT_HEIGHT pixel client area"
    e2e_log "window ${width}x${height}: client ${E2E_CLIENT_WIDTH}x${E2E_CLIENT_HEIGHT} below a ${E2E_MENU} pixel menu bar"
    xdotool windowfocus --sync "$E2E_WIN"
}

# e2e_click X Y: a left click at client-area pixels (below the menu bar).
e2e_click() {
    xdotool mousemove --window "$E2E_WIN" "$1" $(($2 + E2E_MENU)) click 1
}

# e2e_click_twips LEFT TOP WIDTH HEIGHT: a click in the middle of a rectangle
# given in twips of the client area.
e2e_click_twips() {
    e2e_click $(($(twips "$1") + $(twips "$3") / 2)) $(($(twips "$2") + $(twips "$4") / 2))
}

# The three navigation buttons as designed, in twips.
e2e_click_previous() { e2e_click_twips 9120 7680 855 375; }
e2e_click_next() { e2e_click_twips 9960 7680 855 375; }
e2e_click_last() { e2e_click_twips 10920 7680 855 375; }

# e2e_capture: the window's pixels, as raw RGB, into $E2E_TMP/shot.rgb.
# The checks below look at full-width bands of it, which are plain byte ranges.
e2e_capture() {
    import -silent -window "$E2E_WIN" -depth 8 rgb:"$E2E_TMP/shot.rgb"
}

# e2e_band_sum TOP HEIGHT: a checksum of the client-area rows TOP to
# TOP + HEIGHT - 1 of the last capture.
e2e_band_sum() {
    _e2e_band "$1" "$2" | md5sum | cut -d' ' -f1
}

# _e2e_band TOP HEIGHT: those rows' bytes.
_e2e_band() {
    dd if="$E2E_TMP/shot.rgb" bs=$((E2E_CLIENT_WIDTH * 3)) skip=$(($1 + E2E_MENU)) count="$2" status=none
}

# The band of the page counter lblCounter (top 1560, 255 high): nothing else
# stands in those rows.
e2e_counter_sum() {
    e2e_band_sum "$(twips 1560)" "$(twips 255)"
}

# Banner, counter and pages: the client area down to the pages' bottom edge
# (top 1920 + 5535 twips), without the navigation buttons.
e2e_pages_sum() {
    e2e_band_sum 0 "$(twips $((1920 + 5535)))"
}

# e2e_screenshot NAME: the last capture, kept as NAME.png in the artifact
# folder (converted all at once when the test ends).
e2e_screenshot() {
    cp "$E2E_TMP/shot.rgb" "$E2E_ARTIFACTS/$1.rgb"
}

_e2e_convert_screenshots() {
    compgen -G "$E2E_ARTIFACTS/*.rgb" >/dev/null || return 0
    mogrify -size "${E2E_CLIENT_WIDTH}x$((E2E_CLIENT_HEIGHT + E2E_MENU))" -depth 8 -format png \
        "$E2E_ARTIFACTS"/*.rgb && rm -f "$E2E_ARTIFACTS"/*.rgb
}

_e2e_counter_differs() {
    e2e_capture && [[ $(e2e_counter_sum) != "$1" ]] || return 1
    # A second look, so that a repaint still under way is not taken for the
    # new page.
    mv "$E2E_TMP/shot.rgb" "$E2E_TMP/shot-before.rgb"
    e2e_capture && cmp -s "$E2E_TMP/shot.rgb" "$E2E_TMP/shot-before.rgb"
}

# e2e_wait_counter_change OLD_SUM: waits until the page counter shows
# something else than it did; the capture then shows the new state.
e2e_wait_counter_change() {
    e2e_wait_for 10 _e2e_counter_differs "$1" || e2e_fail "the page counter did not change"
}

_e2e_counter_painted() {
    # Text in the counter's band gives it more than one colour.
    e2e_capture || return 1
    local colours
    colours=$(_e2e_band "$(twips 1560)" "$(twips 255)" | od -An -v -tx1 -w3 | sort -u | wc -l)
    ((colours > 1)) || return 1
    # And no repaint under way.
    mv "$E2E_TMP/shot.rgb" "$E2E_TMP/shot-before.rgb"
    e2e_capture && cmp -s "$E2E_TMP/shot.rgb" "$E2E_TMP/shot-before.rgb"
}

# e2e_wait_painted: waits for the first paint; the capture then shows it.
e2e_wait_painted() {
    e2e_wait_for 10 _e2e_counter_painted || e2e_fail "the window was never painted"
}

# e2e_alive: the process runs and its window answers.
e2e_alive() {
    kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program has exited"
    local name
    name=$(xdotool getwindowname "$E2E_WIN") || e2e_fail "the window is gone"
    [[ $name =~ ^(\*|.*\ -\ )?"$E2E_CAPTION"$ ]] || e2e_fail "the window is captioned \"$name\""
}

# e2e_read_layout HELPER: where the window puts its controls, from the
# window's own construction, into page[NAME], x[NAME], y[NAME], w[NAME] and
# h[NAME] (client-area pixels).
e2e_read_layout() {
    declare -gA page x y w h
    local layout name on_page left top width height
    layout=$(QT_QPA_PLATFORM=offscreen "$1" layout) || e2e_fail "the helper gave no layout"
    while read -r name on_page left top width height; do
        page[$name]=$on_page x[$name]=$left y[$name]=$top w[$name]=$width h[$name]=$height
    done <<<"$layout"
}
