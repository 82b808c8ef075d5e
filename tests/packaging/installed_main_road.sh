#!/usr/bin/env bash
# The writer's main road of the end-to-end tests, walked on the installed
# program, whose folder is not the walking user's: the preview must then land
# in the user's cache folder, not next to the program. Run as root, root walks
# the road itself with the program's folder owned by another user: root could
# write there, and must not.
# Usage: installed_main_road.sh BUILD_DIR CMAKE_COMMAND E2E_HELPER E2E_DIR ARTIFACT_DIR
set -euo pipefail

build=$1
cmake_command=$2
helper=$3
e2e_dir=$4
artifacts=$5

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vinkring-installed.XXXXXX")
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT

prefix=$tmp/prefix
"$cmake_command" --install "$build" --prefix "$prefix" >"$tmp/install.log" ||
    { cat "$tmp/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }
program=$prefix/bin/vinkring-artikel

# The scripts and the helper are copied next to the prefix, so that the
# walking user can reach them wherever the build is.
mkdir -p "$tmp/e2e"
cp "$e2e_dir/main_road.sh" "$e2e_dir/lib.sh" "$helper" "$tmp/e2e/"
helper_copy=$tmp/e2e/$(basename "$helper")
rm -rf "$artifacts"
mkdir -p "$tmp/walk"

as_walker=(env TMPDIR="$tmp/walk")
if ((EUID == 0)); then
    # As a package installed for everyone: the folder is the system's.
    chown nobody "$prefix/bin"
    "${as_walker[@]}" test -w "$prefix/bin" ||
        { echo "FAIL: root cannot write $prefix/bin: the road would not show the rule" >&2; exit 1; }
else
    chmod a-w "$prefix/bin"
    if "${as_walker[@]}" test -w "$prefix/bin"; then
        echo "FAIL: the walking user can write $prefix/bin" >&2
        exit 1
    fi
fi

# Screenshots are taken where the walker can write, then kept in ARTIFACT_DIR.
status=0
"${as_walker[@]}" bash "$tmp/e2e/main_road.sh" "$program" "$helper_copy" "$tmp/walk/artifacts" || status=$?
mkdir -p "$(dirname "$artifacts")"
cp -r "$tmp/walk/artifacts" "$artifacts" 2>/dev/null || true
((status == 0)) || exit "$status"

if [[ -e $prefix/bin/PREVIEW.htm ]]; then
    echo "FAIL: PREVIEW.htm was written next to the installed program" >&2
    exit 1
fi
echo "the installed program wrote its preview to the user's cache folder"
