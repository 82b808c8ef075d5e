#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the desktop entry, the MIME type of the document files, the icons, and the
# installed program started with a document on its command line.
# Usage: install_test.sh BUILD_DIR CMAKE_COMMAND
set -euo pipefail

build=$1
cmake_command=$2
app_id=nl.vinkring.Artikel
caption="Vinkring Artikel Template"
mime_type=application/x-vinkring-artikel

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vinkring-install.XXXXXX")
app_pid=
xvfb_pid=

cleanup() {
    local rc=$?
    set +e
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if ((rc != 0)) && [[ -s $tmp/app.log ]]; then
        echo "--- program output" >&2
        cat "$tmp/app.log" >&2
    fi
    rm -rf "$tmp"
    exit "$rc"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() {
    echo "ok: $*"
}

# Waits up to $1 seconds, polling, until the command after it succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# Width and height of a PNG, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'
}

desktop_value() {
    sed -n "s/^$1=//p" "$desktop"
}

# ---------------------------------------------------------------- install
prefix=$tmp/prefix
"$cmake_command" --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
    { cat "$tmp/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }

program=$prefix/bin/vinkring-artikel
desktop=$prefix/share/applications/$app_id.desktop
mime_xml=$prefix/share/mime/packages/$app_id.xml
for file in "$program" "$desktop" "$mime_xml" "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"; do
    [[ -f $file ]] || fail "not installed: ${file#"$prefix"/}"
done
[[ -x $program ]] || fail "the program is not executable"

# ---------------------------------------------------------------- icons
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    if [[ ! -f $png ]]; then
        fail "no ${size}x${size} icon"
    elif [[ $(head -c8 "$png" | od -An -tx1 | tr -d ' ') != 89504e470d0a1a0a ]]; then
        fail "the ${size}x${size} icon is not a PNG"
    elif [[ $(png_size "$png") != "${size}x${size}" ]]; then
        fail "the ${size}x${size} icon is $(png_size "$png")"
    fi
done
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the SVG icon is not well-formed"
pass "icons"

# ---------------------------------------------------------------- desktop entry
if desktop-file-validate "$desktop"; then pass "desktop-file-validate"; else fail "desktop-file-validate"; fi
exec_line=$(desktop_value Exec)
read -r exec_program exec_args <<<"$exec_line"
[[ -x $prefix/bin/$exec_program ]] || fail "Exec names \"$exec_program\", which is not installed in bin/"
[[ $exec_args == "%f" ]] || fail "Exec passes \"$exec_args\", not one file (%f)"
[[ $(desktop_value Name) == "$caption" ]] || fail "Name is \"$(desktop_value Name)\""
[[ -n $(desktop_value Comment) ]] || fail "no Comment"
[[ ";$(desktop_value Categories)" == *";Office;"* ]] || fail "not in the Office category"
[[ ";$(desktop_value MimeType)" == *";$mime_type;"* ]] || fail "MimeType does not name $mime_type"
[[ $(desktop_value Icon) == "$app_id" ]] || fail "Icon is \"$(desktop_value Icon)\""
pass "desktop entry"

# ---------------------------------------------------------------- MIME type
if xmllint --noout "$mime_xml"; then pass "MIME XML well-formed"; else fail "MIME XML not well-formed"; fi
declared=$(xmllint --xpath "string(//*[local-name()='mime-type']/@type)" "$mime_xml" 2>/dev/null || true)
[[ $declared == "$mime_type" ]] || fail "the MIME XML declares \"$declared\""
[[ -n $(xmllint --xpath "string(//*[local-name()='mime-type']/*[local-name()='comment'][@xml:lang='nl'])" "$mime_xml" 2>/dev/null || true) ]] ||
    fail "no Dutch comment for the MIME type"

# The database is built inside the prefix, which is then in the search path.
mime_db=$prefix/share/mime
if XDG_DATA_HOME=$tmp/nowhere XDG_DATA_DIRS=$prefix/share update-mime-database "$mime_db" 2>"$tmp/mime.log" &&
    [[ ! -s $tmp/mime.log ]]; then
    pass "update-mime-database"
else
    cat "$tmp/mime.log" >&2
    fail "update-mime-database did not accept the MIME XML"
fi
grep -qx "[0-9]*:$mime_type:\*\.vkv:cs" "$mime_db/globs2" || fail "no case-sensitive glob *.vkv"
grep -qx "[0-9]*:$mime_type:\*\.VKV:cs" "$mime_db/globs2" || fail "no case-sensitive glob *.VKV"
other_globs=$(grep ":$mime_type:" "$mime_db/globs2" | grep -v -e ':\*\.vkv\(:cs\)\?$' -e ':\*\.VKV\(:cs\)\?$' || true)
[[ -z $other_globs ]] || fail "the MIME type has other globs: $other_globs"
grep -qx "$mime_type text/plain" "$mime_db/subclasses" || fail "the MIME type is not a sub-class of text/plain"
grep -qx "$mime_type:$app_id" "$mime_db/icons" || fail "document files do not get the program's icon"
pass "MIME database"

# ---------------------------------------------------------------- command line
# Anything but one document: the usage, and a non-zero exit before any window.
check_usage() {
    local rc=0
    (cd "$tmp" && QT_QPA_PLATFORM=offscreen timeout 60 "$program" "$@") >"$tmp/usage.out" 2>"$tmp/usage.err" || rc=$?
    if ((rc == 0 || rc == 124)); then
        fail "\"$*\" on the command line: exit code $rc"
    elif ! grep -q "Gebruik: vinkring-artikel" "$tmp/usage.err"; then
        fail "\"$*\" on the command line: no usage on stderr"
    fi
}
check_usage een.VKV twee.VKV
check_usage --onzin
check_usage -x een.VKV
pass "command-line usage"

# ---------------------------------------------------------------- the program under Xvfb
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/runtime
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
export XDG_STATE_HOME=$HOME/.local/state
export XDG_DATA_DIRS=$prefix/share:/usr/local/share:/usr/share
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
export NO_AT_BRIDGE=1

# Xvfb picks a free display and writes its number into the pipe.
mkfifo "$tmp/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
read -r -t 30 display <"$tmp/display" || true
[[ -n $display ]] || { cat "$tmp/xvfb.log" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display

# Visible windows of the running program.
visible_windows() {
    xdotool search --all --onlyvisible --pid "$app_pid" --name '.*' 2>/dev/null || true
}
main_window=
main_window_shown() {
    # The caption, after the document's name and the unsaved mark if any.
    main_window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name "^(\\*|.* - )?$caption\$" 2>/dev/null | head -n1)
    [[ -n $main_window ]]
}
second_window_shown() {
    (($(visible_windows | wc -l) >= 2))
}
message_window=
message_shown() {
    message_window=$(xdotool search --all --onlyvisible --pid "$app_pid" --name "^$caption Melding\$" 2>/dev/null | head -n1)
    [[ -n $message_window ]]
}
# x y width height of a window on the screen.
window_box() {
    xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XYWIDTHEG]*=//p' | tr '\n' ' '
    echo
}
window_has_icon() {
    xprop -id "$main_window" _NET_WM_ICON | grep -q 'Icon ('
}
changed_since() {
    [[ $(stat -c %Y "$1") != "$2" ]]
}

start_program() {
    (cd "$tmp/docs" && QT_QPA_PLATFORM=xcb exec "$program" "$@") >"$tmp/app.log" 2>&1 &
    app_pid=$!
    wait_for 60 main_window_shown || { fail "no window captioned \"$caption\" appeared"; return 1; }
}

stop_program() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program has exited by itself"
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

# The simplest document with a title, an author and one link; written in the
# program's own format: 27 field markers, then the links, then CR LF.
mkdir -p "$tmp/docs"
doc=$tmp/docs/Guppy.VKV
{
    printf 'Guppy<vbcrlf>Jan<vbcrlf>'
    for _ in $(seq 25); do printf '<vbcrlf>'; done
    printf 'Foto, foto.jpg\r\n'
} >"$doc"
cp "$doc" "$tmp/Guppy.orig"
touch -d '2001-01-01 00:00:00' "$doc"
old_time=$(stat -c %Y "$doc")

# Opened by a relative path, as a file manager in that folder would.
if start_program Guppy.VKV; then
    captioned() { [[ $(xdotool getwindowname "$main_window") == "Guppy.VKV - $caption" ]]; }
    wait_for 10 captioned || fail "the window is captioned \"$(xdotool getwindowname "$main_window")\""
    pass "the installed program shows \"Guppy.VKV - $caption\" with a document on its command line"
    # The desktop ties the window to its entry by class, and the window takes
    # its icon from the installed theme.
    xprop -id "$main_window" WM_CLASS | grep -qF "\"$(desktop_value StartupWMClass)\"" ||
        fail "the window's class is not the desktop entry's StartupWMClass: $(xprop -id "$main_window" WM_CLASS)"
    wait_for 10 window_has_icon || fail "the window has no icon from the installed theme"
    # The quick save writes the document to the file it was opened from: that
    # shows both the texts read and the file name taken over.
    xdotool windowfocus --sync "$main_window"
    xdotool key --clearmodifiers ctrl+s
    if wait_for 30 changed_since "$doc" "$old_time"; then
        if cmp -s "$doc" "$tmp/Guppy.orig"; then
            pass "the document was opened: Ctrl+S wrote it back unchanged"
        else
            fail "Ctrl+S wrote something else than the document that was opened"
        fi
    else
        fail "Ctrl+S did not write to the document given on the command line"
    fi
    (($(visible_windows | wc -l) == 1)) || fail "a good document gave a second window (a message?)"
    stop_program
fi

# A file that is not a document: a message in a window of its own, no crash.
printf 'Dit is geen document.\r\n' >"$tmp/docs/kapot.VKV"
cp "$tmp/docs/kapot.VKV" "$tmp/kapot.orig"
if start_program kapot.VKV; then
    if wait_for 30 message_shown; then
        pass "a bad document gives a message titled \"$caption Melding\", nothing added to the title"
        # Centred over the window (Qt leaves up to 40 pixels for a title bar).
        read -r wx wy ww wh < <(window_box "$main_window")
        read -r mx my mw mh < <(window_box "$message_window")
        dx=$((mx + mw / 2 - wx - ww / 2)) dy=$((my + mh / 2 - wy - wh / 2))
        ((dx * dx + dy * dy <= 50 * 50)) || fail "the message is not centred over the window: $mx,$my ${mw}x$mh over $wx,$wy ${ww}x$wh"
    else
        visible_windows | while read -r w; do echo "window: $(xdotool getwindowname "$w")" >&2; done
        fail "a bad document on the command line gave no message titled \"$caption Melding\""
    fi
    cmp -s "$tmp/docs/kapot.VKV" "$tmp/kapot.orig" || fail "the bad document was changed"
    stop_program
fi

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all installation checks passed"
