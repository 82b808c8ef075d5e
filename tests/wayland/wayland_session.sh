#!/usr/bin/env bash
# The program on Wayland: a headless weston of its own (own runtime folder and
# socket), the program on Qt's wayland platform. Checks the window's title as
# the compositor is told it (WAYLAND_DEBUG=client), that a bad document on the
# command line gives its message as a second window over the first, and that
# a good one opens: the screenshot differs from the empty window's, which is
# the same in two runs. Screenshots with weston-screenshooter.
# Exit 77 (skipped) only when weston cannot open its socket here.
# Usage: wayland_session.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 PROGRAM ARTIFACT_DIR" >&2; exit 2; }
program=$(realpath "$1")
artifacts=$2
caption="Vinkring Artikel Template"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
log() {
    echo "[$(date +%H:%M:%S)] $*"
}
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS <= deadline)) || return 1
        sleep 0.1
    done
}

for tool in weston weston-screenshooter convert; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh"
done
[[ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ||
    -n $(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' -print -quit 2>/dev/null) ]] ||
    fail "Qt's wayland platform (qt6-wayland) is missing: run scripts/setup.sh"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vinkring-wayland.XXXXXX")
weston_pid= app_pid=
stop_program() {
    [[ -n $app_pid ]] || return 0
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}
stop_weston() {
    stop_program
    [[ -n $weston_pid ]] || return 0
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
    weston_pid=
}
cleanup() {
    local rc=$?
    set +e
    stop_weston
    if ((rc != 0 && rc != 77)); then
        for f in "$tmp"/*.log; do
            echo "--- $(basename "$f") (last lines)" >&2
            tail -n 40 "$f" >&2
        done
    fi
    rm -rf "$tmp"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rm -rf "$artifacts"
mkdir -p "$artifacts"
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/runtime
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
export NO_AT_BRIDGE=1 WAYLAND_DISPLAY=vinkring-wayland

# A new compositor for every run, so that it places the window alike each
# time. The pixman renderer draws into memory; --debug allows screenshots.
start_weston() {
    weston --backend=headless-backend.so --use-pixman --no-config --idle-time=0 --debug \
        --width=1024 --height=768 --socket="$WAYLAND_DISPLAY" >"$tmp/weston.log" 2>&1 &
    weston_pid=$!
    if ! wait_for 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"; then
        if ! kill -0 "$weston_pid" 2>/dev/null; then
            cat "$tmp/weston.log" >&2
            echo "SKIP: weston cannot run here" >&2
            exit 77
        fi
        fail "weston opened no socket"
    fi
}

start_program() {
    QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" "$@" >"$tmp/app.log" 2>&1 &
    app_pid=$!
}

# The requests of the window titled $1: its xdg_toplevel's "set_title".
titled() {
    grep -qF -- "set_title(\"$1\")" "$tmp/app.log"
}

# A screenshot below weston's panel (whose clock changes) into $1.rgb.
shoot() {
    rm -f "$tmp"/shot/*.png
    mkdir -p "$tmp/shot"
    (cd "$tmp/shot" && timeout 20 weston-screenshooter >/dev/null 2>&1) || return 1
    local png
    png=$(ls "$tmp"/shot/*.png 2>/dev/null | head -n1)
    [[ -n $png ]] || return 1
    mv "$png" "$1.png"
    convert "$1.png" -crop 1024x728+0+40 +repage -depth 8 "rgb:$1.rgb"
}

# Two screenshots alike in a row, unlike $2 (when given): the window as
# painted, into $1.
stable_shot() {
    shoot "$tmp/a" || return 1
    [[ -z ${2:-} ]] || ! cmp -s "$tmp/a.rgb" "$2" || return 1
    sleep 0.3
    shoot "$tmp/b" || return 1
    cmp -s "$tmp/a.rgb" "$tmp/b.rgb" || return 1
    mv "$tmp/b.png" "$1.png"
    mv "$tmp/b.rgb" "$1.rgb"
}

# An empty window: the compositor is started anew; the window's screenshot.
# $1: name; further arguments for the program.
run_and_shoot() {
    local name=$1
    shift
    start_weston
    wait_for 20 stable_shot "$tmp/desktop" || fail "no screenshot of the bare desktop"
    start_program "$@"
    wait_for 30 titled "$caption" || fail "no window titled \"$caption\" ($name)"
    wait_for 30 stable_shot "$tmp/$name" "$tmp/desktop.rgb" || fail "the window never showed ($name)"
    cp "$tmp/$name.png" "$artifacts/$name.png"
}

# ---------------------------------------------------------------- the window
run_and_shoot empty
grep -q 'xdg_toplevel@[0-9]*\.set_app_id("nl.vinkring.Artikel")' "$tmp/app.log" ||
    fail "the window does not name its desktop entry (app id)"
if grep -E 'set_title\(' "$tmp/app.log" | grep -vqF "set_title(\"$caption\")"; then
    fail "another title was set: $(grep -E 'set_title\(' "$tmp/app.log" | sort -u | tr '\n' ' ')"
fi
(($(grep -c 'get_toplevel(' "$tmp/app.log") == 1)) || fail "the empty window came with more than one toplevel"
log "the window is titled \"$caption\" exactly"
stop_weston

run_and_shoot empty-again
cmp -s "$tmp/empty.rgb" "$tmp/empty-again.rgb" ||
    fail "two starts of the empty window look different: the screenshots cannot tell a document"
stop_weston

# ---------------------------------------------------------------- a good document
mkdir -p "$tmp/docs"
{
    printf 'Guppy (Poecilia reticulata)<vbcrlf>Jan Jansen<vbcrlf>'
    for _ in $(seq 25); do printf '<vbcrlf>'; done
    printf 'Foto, foto.jpg\r\n'
} >"$tmp/docs/Guppy.VKV"
start_weston
start_program "$tmp/docs/Guppy.VKV"
wait_for 30 titled "$caption" || fail "no window with a document on the command line"
wait_for 30 stable_shot "$tmp/document" "$tmp/empty.rgb" || fail "the window with a document looks like the empty one"
cp "$tmp/document.png" "$artifacts/document.png"
(($(grep -c 'get_toplevel(' "$tmp/app.log") == 1)) || fail "a good document gave a second window (a message?)"
log "a good document opens: its window differs from the empty one"
stop_weston

# ---------------------------------------------------------------- a bad document
printf 'Dit is geen document.\r\n' >"$tmp/docs/kapot.VKV"
start_weston
start_program "$tmp/docs/kapot.VKV"
wait_for 30 titled "$caption Melding" || fail "a bad document gave no message titled \"$caption Melding\""
# The message is a toplevel of its own whose parent is the window.
grep -q 'xdg_toplevel@[0-9]*\.set_parent(xdg_toplevel@[0-9]*)' "$tmp/app.log" ||
    fail "the message is not tied to the window"
wait_for 30 stable_shot "$tmp/bad-document" "$tmp/empty.rgb" || fail "the message never showed"
cp "$tmp/bad-document.png" "$artifacts/bad-document.png"
kill -0 "$app_pid" 2>/dev/null || fail "the program has exited"
log "a bad document gives its message, titled \"$caption Melding\""

if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$tmp/app.log"; then
    fail "the program reported a sanitizer error"
fi
log "PASS: screenshots in $artifacts"
