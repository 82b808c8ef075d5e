#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks its control
# fields and contents (it is not installed).
# Usage: deb_test.sh BUILD_DIR CPACK_COMMAND
set -euo pipefail

build=$1
cpack_command=$2
app_id=nl.vinkring.Artikel

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vinkring-deb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$cpack_command" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; echo "FAIL: cpack -G DEB failed" >&2; exit 1; }
shopt -s nullglob
debs=("$tmp"/out/*.deb)
((${#debs[@]} == 1)) || { echo "FAIL: cpack made ${#debs[@]} packages" >&2; exit 1; }
deb=${debs[0]}
echo "built $(basename "$deb")"
dpkg-deb -I "$deb"

field() {
    dpkg-deb -f "$deb" "$1"
}
[[ $(field Package) == vinkring-artikel ]] || fail "package name is \"$(field Package)\""
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "architecture is \"$(field Architecture)\""
[[ $(basename "$deb") == "vinkring-artikel_$(field Version)_$(field Architecture).deb" ]] ||
    fail "file name $(basename "$deb") is not the Debian one"

# The packages the program needs at run time, each one a real package here.
depends=$(field Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libenchant-2-2 libglib2.0-0; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] || fail "Depends lacks $needed"
done
while read -r name; do
    dpkg-query -W "$name" >/dev/null 2>&1 || fail "Depends names $name, which is no package on this system"
done < <(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/:any//; s/ //g' | grep -v '^$')
recommends=$(field Recommends)
for wanted in hunspell-nl qt6-wayland; do
    [[ ", $recommends," == *", $wanted,"* ]] || fail "Recommends lacks $wanted"
done

# Contents: under /usr only, the program and its desktop files.
dpkg-deb -c "$deb" | awk '{print $NF}' >"$tmp/contents"
for path in ./usr/bin/vinkring-artikel \
    ./usr/share/applications/$app_id.desktop \
    ./usr/share/mime/packages/$app_id.xml \
    ./usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    ./usr/share/icons/hicolor/48x48/apps/$app_id.png \
    ./usr/share/icons/hicolor/256x256/apps/$app_id.png \
    ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/doc/vinkring-artikel/copyright \
    ./usr/share/doc/vinkring-artikel/changelog.gz \
    ./usr/share/man/man1/vinkring-artikel.1.gz; do
    grep -qxF "$path" "$tmp/contents" || fail "the package lacks $path"
done
if grep -v '^\./usr/' "$tmp/contents" | grep -qvx '\./'; then
    fail "the package holds files outside /usr: $(grep -v '^\./usr/' "$tmp/contents" | grep -vx '\./' | head -n3 | tr '\n' ' ')"
fi
if grep -qE '^\./usr/local/|test' "$tmp/contents"; then
    fail "the package holds /usr/local or test files"
fi
dpkg-deb -x "$deb" "$tmp/root"
[[ -x $tmp/root/usr/bin/vinkring-artikel ]] || fail "the program in the package is not executable"
grep -qx 'Exec=vinkring-artikel %f' "$tmp/root/usr/share/applications/$app_id.desktop" ||
    fail "the packaged desktop entry does not start /usr/bin/vinkring-artikel with the file"

# Debian's own checks: lintian, with its informational and pedantic tags
# too, and AppStream's validator on the metadata software centres read. Any
# finding fails (the package carries no lintian overrides).
if lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb" >"$tmp/lintian.txt" 2>&1 &&
    ! grep -qE '^[EWIPXO]: ' "$tmp/lintian.txt"; then
    echo "lintian: no findings"
else
    cat "$tmp/lintian.txt" >&2
    fail "lintian has findings"
fi
metainfo=$tmp/root/usr/share/metainfo/$app_id.metainfo.xml
if appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.txt" 2>&1 &&
    appstreamcli validate-tree --no-net "$tmp/root" >>"$tmp/appstream.txt" 2>&1 &&
    ! grep -qE '^ *[EWI]: ' "$tmp/appstream.txt"; then
    echo "appstreamcli: valid"
else
    cat "$tmp/appstream.txt" >&2
    fail "appstreamcli validate has findings"
fi
# What the metadata must tell: both languages, the desktop entry, a
# screenshot and the content rating.
xpath() {
    xmllint --xpath "$1" "$metainfo" 2>/dev/null || true
}
[[ $(xpath 'string(/component/launchable[@type="desktop-id"])') == "$app_id.desktop" ]] ||
    fail "the metadata does not launch $app_id.desktop"
for lang in en nl; do
    if [[ $lang == en ]]; then sel='not(@xml:lang)'; else sel="@xml:lang='$lang'"; fi
    [[ -n $(xpath "string(/component/summary[$sel])") ]] || fail "no $lang summary"
    [[ -n $(xpath "string(/component/description/p[$sel])") ]] || fail "no $lang description"
done
[[ -n $(xpath 'string(/component/screenshots/screenshot/image)') ]] || fail "no screenshot in the metadata"
[[ -n $(xpath 'string(/component/content_rating/@type)') ]] || fail "no content rating in the metadata"
# The manual page, as man shows it.
if LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$tmp/root/usr/share/man/man1/vinkring-artikel.1.gz" \
    >"$tmp/man.txt" 2>"$tmp/man.err" && [[ ! -s $tmp/man.err ]] && grep -q 'vinkring-artikel' "$tmp/man.txt"; then
    echo "manual page: shown without warnings"
else
    cat "$tmp/man.err" >&2
    fail "the manual page does not show cleanly"
fi

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all package checks passed"
